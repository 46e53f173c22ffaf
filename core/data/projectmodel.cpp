#include "core/data/projectmodel.h"

#include "core/app/settings.h"
#include "core/data/filetype.h"
#include "core/data/atomicfile.h"
#include "core/data/textlines.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

// Stands in while no tree widget is attached, so the model never checks.
class CNoTree : public IProjectTree
{
public:
    void ClearTree() override { }
    void SetRoot(const QString&, int) override { }
    void AddItem(HTreeItem, const QString&, int) override { }
    void RemoveItem(HTreeItem) override { }
    void SetItemImage(HTreeItem, int) override { }
    void SetItemText(HTreeItem, const QString&) override { }
    void SetRootText(const QString&) override { }
    void ExpandAndSelectRoot() override { }
    void ExpandRootAndShow(HTreeItem) override { }
};

const QLatin1Char kOpenMark('*');
const QByteArray kByteOrderMark("\xEF\xBB\xBF");

}  // namespace

CProjectModel::CProjectModel(CSettings& settings) : m_settings(settings)
{
}

IProjectTree& CProjectModel::Tree() const
{
    static CNoTree noTree;
    return m_pTree ? *m_pTree : noTree;
}

const QString& CProjectModel::CurProject() const
{
    return m_settings.m_sCurProject;
}

QString CProjectModel::DisplayName(const QString& sPath) const
{
    const QFileInfo info(sPath);
    return m_settings.m_bShowExt ? info.fileName() : info.completeBaseName();
}

bool CProjectModel::LoadProjectList(const QString& sPath)
{
    if (!QFileInfo::exists(sPath)) {
        // A new list is in the games' code page, whatever an earlier one was in.
        ReadProjectList(QByteArray());
        return AtomicFile::Write(sPath, QByteArray());
    }
    QFile file(sPath);
    if (!QFileInfo(sPath).isFile() || !file.open(QIODevice::ReadOnly)) {
        ReadProjectList(QByteArray());
        return false;
    }
    ReadProjectList(file.readAll());
    return true;
}

void CProjectModel::ReadProjectList(QByteArray bytes)
{
    m_arProjectData.clear();
    m_rawLines.clear();
    m_bByteOrderMark = bytes.startsWith(kByteOrderMark);
    if (m_bByteOrderMark)
        bytes.remove(0, kByteOrderMark.size());
    m_eEncoding = m_bByteOrderMark || CodePage::DetectEncoding(bytes) != ETextEncoding::Cp1252 ? ETextEncoding::Utf8
                                                                                               : ETextEncoding::Cp1252;
    for (const QByteArray& line : TextLines::SplitRaw(bytes)) {
        const QString sLine = TextLines::DecodeLine(line);
        if (sLine.isEmpty())
            continue;
        m_arProjectData.append(sLine);
        m_rawLines[sLine].append(line);
    }
}

QByteArray CProjectModel::LineBytes(const QString& sLine, QHash<QString, int>& nUsed) const
{
    QList<QByteArray> candidates;
    const auto itRead = m_rawLines.constFind(sLine);
    if (itRead != m_rawLines.cend()) {
        // The same text may have been read from different bytes; each
        // occurrence takes the bytes of its own, in file order.
        const qsizetype nOccurrence = nUsed[sLine]++;
        candidates.append(itRead->at(std::min(nOccurrence, itRead->size() - 1)));
    }
    // A file line that only gained or lost its open mark keeps the bytes of its path.
    const bool bMarked = sLine.startsWith(kOpenMark);
    const auto itOther = m_rawLines.constFind(bMarked ? sLine.mid(1) : kOpenMark + sLine);
    if (itOther != m_rawLines.cend())
        candidates.append(bMarked ? '*' + itOther->first() : itOther->first().mid(1));
    bool bLossless = true;
    const QByteArray own = CodePage::Encode(sLine, m_eEncoding, &bLossless);
    if (bLossless)
        candidates.append(own);
    candidates.append(sLine.toUtf8());
    // Windows-1252 bytes that happen to be valid UTF-8 would read back as
    // other text; only bytes that give back this very line will do.
    for (const QByteArray& line : std::as_const(candidates))
        if (!line.contains('\n') && TextLines::DecodeLine(line) == sLine)
            return line;
    // No line holds a line break or a NUL; blanks stand in rather than let
    // one split the list.
    QString sHeld = sLine;
    sHeld.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QChar(u'\0'), QLatin1Char(' '));
    return sHeld.toUtf8();
}

QByteArray CProjectModel::ProjectListBytes() const
{
    QByteArray bytes = m_bByteOrderMark ? kByteOrderMark : QByteArray();
    QHash<QString, int> nUsed;
    for (const QString& sLine : m_arProjectData)
        bytes += LineBytes(sLine, nUsed) + "\r\n";
    return bytes;
}

bool CProjectModel::SaveProjectList(const QString& sPath) const
{
    return AtomicFile::Write(sPath, ProjectListBytes());
}

std::pair<int, int> CProjectModel::FindProject(const QString& sName) const
{
    // Only a line right after a header counts as a name: a file path that
    // happens to equal a project's name must not make its project's lines
    // look like another project's.
    int nFirst = -1;
    for (int i = 1; i < m_arProjectData.size(); ++i) {
        if (CompareNoCase(m_arProjectData[i], sName) == 0 && CompareNoCase(m_arProjectData[i - 1], kHeader) == 0) {
            nFirst = i;
            break;
        }
    }
    if (nFirst < 0)
        return {-1, -1};
    int nNext = m_arProjectData.Find(kHeader, nFirst);
    if (nNext < 0)
        nNext = int(m_arProjectData.size());
    return {nFirst - 1, nNext - 1};
}

void CProjectModel::ClearRecords()
{
    m_ProjectFiles = {};
    m_arUnloadedLines.clear();
}

void CProjectModel::LoadProject()
{
    ClearRecords();
    Tree().ClearTree();
    const auto [nFirst, nLast] = CurProject().isEmpty() ? std::pair{-1, -1} : FindProject(CurProject());
    if (nFirst < 0) {
        m_settings.m_sCurProject.clear();
        Tree().SetRoot(kNoProject, kImageNoProject);
        return;
    }
    Tree().SetRoot(CurProject(), kImageProject);
    int nRecord = 0;
    for (int i = nFirst + 2; i <= nLast; ++i) {
        const QString& sLine = m_arProjectData[i];
        const bool bMarked = sLine.startsWith(kOpenMark);
        const QString sPath = bMarked ? sLine.mid(1) : sLine;
        // A lone "*" names no file, and the records end at 32; a path the
        // line could not give back once its mark changed would turn into
        // another record or a header. Such lines are kept as they stand
        // rather than dropped or changed at the next save.
        if (!CanBeFileLine(sPath) || nRecord >= kMaxFiles) {
            m_arUnloadedLines.append(sLine);
            continue;
        }
        FillRecord(nRecord++, sPath, bMarked && QFileInfo::exists(sPath));
    }
    Tree().ExpandAndSelectRoot();
}

void CProjectModel::FillRecord(int nIndex, const QString& sPath, bool bOpen)
{
    CProjectFile& file = m_ProjectFiles[nIndex];
    file.bOpen = bOpen ? 1 : 0;
    file.sPath = sPath;
    file.sName = DisplayName(sPath);
    file.hItem = NewTreeItem();
    Tree().AddItem(file.hItem, file.sName, FileTypeImage(sPath, bOpen));
}

void CProjectModel::LoadFreedRecord()
{
    // The next load would give the first line that did not fit the freed
    // record; the model shows now what the list will then hold. Not opened
    // here, it is saved as closed.
    for (qsizetype i = 0; i < m_arUnloadedLines.size(); ++i) {
        const QString& sLine = m_arUnloadedLines[i];
        const QString sPath = sLine.startsWith(kOpenMark) ? sLine.mid(1) : sLine;
        if (!CanBeFileLine(sPath))
            continue;
        FillRecord(ProjectFileCount(), sPath, false);
        m_arUnloadedLines.removeAt(i);
        return;
    }
}

void CProjectModel::SaveProject()
{
    const auto [nFirst, nLast] = FindProject(CurProject());
    if (nFirst < 0)
        return;
    // A project named like the header has no room for file lines at all.
    m_arProjectData.remove(nFirst + 2, std::max(0, nLast - nFirst - 1));
    QStringList lines;
    for (const CProjectFile& file : m_ProjectFiles)
        if (file.InUse())
            lines.append(file.bOpen ? kOpenMark + file.sPath : file.sPath);
    lines += m_arUnloadedLines;
    for (int i = 0; i < lines.size(); ++i)
        m_arProjectData.insert(nFirst + 2 + i, lines[i]);
}

void CProjectModel::SwitchProject(const QString& sName)
{
    SaveProject();
    CloseProjectFiles();
    m_settings.m_sCurProject = sName;
    LoadProject();
    OpenProjectFiles();
}

void CProjectModel::OpenProjectFiles()
{
    if (!Documents())
        return;
    for (CProjectFile& file : m_ProjectFiles) {
        if (!file.InUse() || !file.bOpen)
            continue;
        file.pDoc = Documents()->OpenDocument(file.sPath);
        if (!file.pDoc) {
            file.bOpen = 0;
            Tree().SetItemImage(file.hItem, FileTypeImage(file.sPath, false));
        }
    }
}

void CProjectModel::CloseProjectFiles()
{
    if (!Documents())
        return;
    for (CProjectFile& file : m_ProjectFiles) {
        QObject* pDoc = file.pDoc;
        if (!pDoc)
            continue;
        if (Documents()->IsModified(pDoc))
            Documents()->SaveModifiedCheck(pDoc);
        Documents()->CloseDocument(pDoc);
    }
}

bool CProjectModel::IsProjectFile(const QString& sPath) const
{
    for (const CProjectFile& file : m_ProjectFiles)
        if (file.InUse() && file.sPath == sPath)
            return true;
    return false;
}

int CProjectModel::ProjectFileCount() const
{
    int nCount = 0;
    for (const CProjectFile& file : m_ProjectFiles)
        nCount += file.InUse() ? 1 : 0;
    return nCount;
}

int CProjectModel::IndexOfTreeItem(HTreeItem hItem) const
{
    if (hItem == kNoTreeItem)
        return -1;
    for (int i = 0; i < kMaxFiles; ++i)
        if (m_ProjectFiles[i].hItem == hItem)
            return i;
    return -1;
}

bool CProjectModel::CanBeFileLine(const QString& sPath)
{
    return !sPath.isEmpty() && !sPath.startsWith(kOpenMark) && CompareNoCase(sPath, kHeader) != 0
        && !sPath.contains(QLatin1Char('\n')) && !sPath.contains(QChar(u'\0'));
}

int CProjectModel::AddRecord(const QString& sPath, bool bOpen, QObject* pDoc)
{
    if (!CanBeFileLine(sPath) || !QFileInfo::exists(sPath) || CurProject().isEmpty() || IsProjectFile(sPath))
        return -1;
    const int nIndex = ProjectFileCount();
    if (nIndex >= kMaxFiles)
        return -1;
    const auto [nFirst, nLast] = FindProject(CurProject());
    // A project named like the header has no room for file lines; a line put
    // there would belong to no project.
    if (nFirst < 0 || nLast < nFirst + 1)
        return -1;
    m_arProjectData.insert(nFirst + 2, bOpen ? kOpenMark + sPath : sPath);
    CProjectFile& file = m_ProjectFiles[nIndex];
    file.bOpen = bOpen ? 1 : 0;
    file.hItem = NewTreeItem();
    file.pDoc = pDoc;
    file.sName = DisplayName(sPath);
    file.sPath = sPath;
    Tree().AddItem(file.hItem, file.sName, FileTypeImage(sPath, bOpen));
    Tree().ExpandRootAndShow(file.hItem);
    return nIndex;
}

int CProjectModel::AddProjectFile(const QString& sPath)
{
    return AddRecord(sPath, false, nullptr);
}

int CProjectModel::AddActiveFile(QObject* pDoc)
{
    if (!pDoc || !Documents())
        return -1;
    const QString sPath = Documents()->DocumentPath(pDoc);
    if (sPath.isEmpty())
        return -1;
    return AddRecord(sPath, true, pDoc);
}

int CProjectModel::FileLine(const QString& sPath) const
{
    const auto [nFirst, nLast] = FindProject(CurProject());
    if (nFirst < 0)
        return -1;
    int nLine = m_arProjectData.Find(sPath, nFirst);
    if (nLine < 0 || nLine > nLast)
        nLine = m_arProjectData.Find(kOpenMark + sPath, nFirst);
    return nLine >= 0 && nLine <= nLast ? nLine : -1;
}

void CProjectModel::RemoveProjectFile(HTreeItem hItem)
{
    const int nIndex = IndexOfTreeItem(hItem);
    if (nIndex < 0)
        return;
    CProjectFile& file = m_ProjectFiles[nIndex];
    const int nLine = FileLine(file.sPath);
    if (nLine < 0)
        return;
    m_arProjectData.removeAt(nLine);
    Tree().RemoveItem(file.hItem);
    // Forget the document first: closing it reports back through ProjectDocClosed.
    QObject* pDoc = std::exchange(file.pDoc, nullptr);
    if (pDoc && Documents())
        Documents()->CloseDocument(pDoc);
    for (int i = nIndex; i + 1 < kMaxFiles; ++i)
        m_ProjectFiles[i] = m_ProjectFiles[i + 1];
    m_ProjectFiles[kMaxFiles - 1] = {};
    LoadFreedRecord();
}

void CProjectModel::OpenRecord(int nIndex)
{
    if (nIndex < 0 || !Documents())
        return;
    CProjectFile& file = m_ProjectFiles[nIndex];
    QObject* pDoc = Documents()->OpenDocument(file.sPath);
    if (!pDoc)
        return;
    file.pDoc = pDoc;
    file.bOpen = 1;
    Tree().SetItemImage(file.hItem, FileTypeImage(file.sPath, true));
}

void CProjectModel::OpenProjectFile(HTreeItem hItem)
{
    OpenRecord(IndexOfTreeItem(hItem));
}

void CProjectModel::OpenProjectFileByPath(const QString& sPath)
{
    for (int i = 0; i < kMaxFiles; ++i) {
        if (m_ProjectFiles[i].InUse() && m_ProjectFiles[i].sPath == sPath) {
            OpenRecord(i);
            return;
        }
    }
}

void CProjectModel::ProjectDocClosed(QObject* pDoc)
{
    if (!pDoc)
        return;
    for (CProjectFile& file : m_ProjectFiles) {
        if (file.pDoc != pDoc)
            continue;
        file.pDoc = nullptr;
        file.bOpen = 0;
        Tree().SetItemImage(file.hItem, FileTypeImage(file.sPath, false));
    }
}

void CProjectModel::RenameProject(const QString& sOldName, const QString& sNewName)
{
    if (m_arProjectData.Find(sNewName) >= 0)
        return;
    const auto [nFirst, nLast] = FindProject(sOldName);
    Q_UNUSED(nLast);
    if (nFirst < 0)
        return;
    m_arProjectData[nFirst + 1] = sNewName;
    if (CompareNoCase(sOldName, CurProject()) == 0) {
        m_settings.m_sCurProject = sNewName;
        Tree().SetRootText(sNewName);
    }
}

bool CProjectModel::AddNewProject(const QString& sName)
{
    if (sName.isEmpty())
        return false;
    for (const QString& sLine : m_arProjectData)
        if (CompareNoCase(sLine, sName) == 0)
            return false;
    m_arProjectData.append(kHeader);
    m_arProjectData.append(sName);
    return true;
}

bool CProjectModel::DeleteProject(const QString& sName)
{
    // Found as a name after its header: a file line that reads like the
    // name must not take another project's lines with it.
    const auto [nFirst, nLast] = FindProject(sName);
    if (nFirst < 0)
        return false;
    m_arProjectData.remove(nFirst, nLast - nFirst + 1);
    return true;
}

QStringList CProjectModel::ProjectNames() const
{
    QStringList names;
    for (int i = 0; i + 1 < m_arProjectData.size(); ++i)
        if (m_arProjectData[i] == kHeader)
            names.append(m_arProjectData[i + 1]);
    return names;
}

void CProjectModel::MoveProjectFile(int nIndex, const QString& sNewPath)
{
    if (nIndex < 0 || nIndex >= kMaxFiles || !m_ProjectFiles[nIndex].InUse() || !CanBeFileLine(sNewPath))
        return;
    CProjectFile& file = m_ProjectFiles[nIndex];
    // The list's line follows at once: a later removal looks the file up by it.
    const int nLine = FileLine(file.sPath);
    if (nLine >= 0)
        m_arProjectData[nLine] = m_arProjectData[nLine].startsWith(kOpenMark) ? kOpenMark + sNewPath : sNewPath;
    file.sPath = sNewPath;
    file.sName = DisplayName(sNewPath);
    Tree().SetItemText(file.hItem, file.sName);
}

void CProjectModel::CloseProjectFile(HTreeItem hItem)
{
    const int nIndex = IndexOfTreeItem(hItem);
    if (nIndex >= 0 && m_ProjectFiles[nIndex].pDoc && Documents())
        Documents()->CloseDocument(m_ProjectFiles[nIndex].pDoc);
}
