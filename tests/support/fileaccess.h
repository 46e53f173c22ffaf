#pragma once

// Files for the tests: written and read whole, and the permissions of an
// ordinary user for tests that may run as root.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtTest>

#include <sys/types.h>
#include <unistd.h>

namespace VelkTest {

inline constexpr uid_t kNobody = 65534;

inline void WriteFile(const QString& sPath, const QByteArray& bytes)
{
    QFile file(sPath);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

inline QByteArray ReadFile(const QString& sPath)
{
    QFile file(sPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Permissions bind an ordinary user only: run as root, the test acts as
// nobody while this lives.
class CAsNobody
{
public:
    CAsNobody()
    {
        if (geteuid() == 0)
            m_bSwitched = setegid(kNobody) == 0 && seteuid(kNobody) == 0;
    }
    ~CAsNobody()
    {
        if (m_bSwitched) {
            [[maybe_unused]] const int nUid = seteuid(0);
            [[maybe_unused]] const int nGid = setegid(0);
        }
    }
    CAsNobody(const CAsNobody&) = delete;
    CAsNobody& operator=(const CAsNobody&) = delete;
    bool IsReady() const { return m_bSwitched || geteuid() != 0; }

private:
    bool m_bSwitched = false;
};

}  // namespace VelkTest
