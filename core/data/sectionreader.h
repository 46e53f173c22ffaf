#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// The shape shared by commands.dat and header.dat: a section is a header line
// that is the whole line, then its entry lines, up to and including the first
// empty line. Everything outside a recognised section is ignored.
class CSectionReader
{
public:
    using EntryHandler = std::function<void(const QString& sLine)>;

    // onBegin runs when the header is met, before its entries; the
    // weapon sections restart their record count there.
    void AddSection(const QString& sHeader, EntryHandler onEntry, std::function<void()> onBegin = {});
    void Read(const QStringList& lines) const;

private:
    struct SSection
    {
        QString sHeader;
        EntryHandler onEntry;
        std::function<void()> onBegin;
    };
    std::vector<SSection> m_sections;
};
