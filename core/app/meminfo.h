#pragma once

#include <QString>

// The memory figures the About box shows.
namespace MemInfo {

// 1234 becomes "1,234".
QString GroupDigits(qint64 nValue);
// "Total Memory:\t%s Mb\nUsed Memory:\t%s Mb\nAvail Memory:\t%s Mb", in
// millions of bytes (not 2^20), used being total minus available.
QString MemoryText(qint64 nTotalBytes, qint64 nAvailBytes);
// Total and available physical memory from /proc/meminfo; false when unknown.
bool Read(qint64* pnTotalBytes, qint64* pnAvailBytes, const QString& sPath = QStringLiteral("/proc/meminfo"));

}  // namespace MemInfo
