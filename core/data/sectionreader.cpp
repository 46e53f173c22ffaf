#include "core/data/sectionreader.h"

void CSectionReader::AddSection(const QString& sHeader, EntryHandler onEntry, std::function<void()> onBegin)
{
    m_sections.push_back({sHeader, std::move(onEntry), std::move(onBegin)});
}

void CSectionReader::Read(const QStringList& lines) const
{
    qsizetype i = 0;
    while (i < lines.size()) {
        const QString& sLine = lines[i++];
        for (const SSection& section : m_sections) {
            if (sLine != section.sHeader)
                continue;
            if (section.onBegin)
                section.onBegin();
            while (i < lines.size()) {
                const QString& sEntry = lines[i++];
                if (sEntry.isEmpty())
                    break;
                section.onEntry(sEntry);
            }
            break;
        }
    }
}
