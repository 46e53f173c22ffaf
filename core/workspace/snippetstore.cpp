#include "core/workspace/snippetstore.h"

#include "core/app/namechars.h"
#include "core/data/atomicfile.h"
#include "core/documents/textfile.h"

#include <QDir>
#include <QFile>

#include <algorithm>

namespace {

const QString kExtension = QStringLiteral(".txt");

// Windows-1252 like every new file, unless those bytes would read back as
// other text (they happen to be valid UTF-8) or cannot hold the text.
QByteArray BytesOf(const QString& sText)
{
    TextFile::SFormat format;
    TextFile::SFormat written;
    bool bSwitched = false;
    const QByteArray bytes = TextFile::ToBytes(sText, format, &written, &bSwitched);
    if (!written.bReadsBackOther)
        return bytes;
    format.eEncoding = ETextEncoding::Utf8;
    return TextFile::ToBytes(sText, format, &written, &bSwitched);
}

}  // namespace

CSnippetStore::CSnippetStore(QString sFolder) : m_sFolder(std::move(sFolder))
{
    if (!m_sFolder.isEmpty() && !m_sFolder.endsWith(u'/'))
        m_sFolder.append(u'/');
}

QString CSnippetStore::PathOf(const QString& sName) const
{
    return m_sFolder + sName + kExtension;
}

QString CSnippetStore::CleanName(const QString& sTyped)
{
    const QString sName = NameChars::Strip(sTyped);
    // "." or ".." would name a hidden file beside the others, or climb out
    // of the folder once the extension were ever dropped.
    const bool bOnlyDots = std::all_of(sName.cbegin(), sName.cend(), [](QChar c) { return c == u'.'; });
    return bOnlyDots ? QString() : sName;
}

QStringList CSnippetStore::Names() const
{
    // Case counts in the pattern: a listed snippet must open again under
    // its name followed by ".txt".
    const QStringList files = QDir(m_sFolder).entryList({QStringLiteral("*") + kExtension},
                                                        QDir::Files | QDir::Hidden | QDir::CaseSensitive);
    QStringList names;
    names.reserve(files.size());
    for (const QString& sFile : files)
        if (sFile.size() > kExtension.size())
            names.append(sFile.chopped(kExtension.size()));
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int nOrder = a.compare(b, Qt::CaseInsensitive);
        return nOrder != 0 ? nOrder < 0 : a < b;
    });
    return names;
}

CSnippetStore::SResult CSnippetStore::Save(const QString& sTypedName, const QString& sText) const
{
    SResult result;
    result.sName = CleanName(sTypedName);
    if (result.sName.isEmpty())
        return result;
    // Every line break, however it came, becomes the one CR LF of the file.
    QDir().mkpath(m_sFolder);
    const bool bOk
        = AtomicFile::Write(PathOf(result.sName), BytesOf(TextFile::NormaliseLineEnds(sText)), &result.sError);
    result.eStatus = bOk ? SResult::Done : SResult::Failed;
    return result;
}

QString CSnippetStore::ReadForInsertion(const QString& sName) const
{
    TextFile::SLoaded loaded;
    QString sError;
    if (TextFile::Load(PathOf(sName), &loaded, &sError) != TextFile::ELoad::Ok)
        return QString();
    QStringList lines = loaded.sText.split(u'\n');
    // A line break ends the line before it; it starts no line of its own.
    if (lines.size() > 1 && lines.constLast().isEmpty())
        lines.removeLast();
    return lines.join(QStringLiteral("\r\n"));
}

CSnippetStore::SResult CSnippetStore::Rename(const QString& sOldName, const QString& sTypedName) const
{
    SResult result;
    result.sName = CleanName(sTypedName);
    if (result.sName.isEmpty() || result.sName == sOldName) {
        result.sName = sOldName;
        return result;
    }
    QFile file(PathOf(sOldName));
    if (file.rename(PathOf(result.sName))) {
        result.eStatus = SResult::Done;
        return result;
    }
    result.eStatus = SResult::Failed;
    result.sError = file.errorString();
    result.sName = sOldName;
    return result;
}

void CSnippetStore::Delete(const QString& sName) const
{
    QFile::remove(PathOf(sName));
}
