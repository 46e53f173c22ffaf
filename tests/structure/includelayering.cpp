#include "includelayering.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace {

struct SInclude
{
    QString sFile;    // the including file, relative to the root
    QString sTarget;  // the included file, relative to the root
};

// The named gui folders from the top down; every other folder is a feature
// folder and sits between frame and documents.
constexpr int nRankFeature = 3;

int GuiFolderRank(const QString& sFolder)
{
    static const QHash<QString, int> ranks{
        {QStringLiteral("app"), 5},    {QStringLiteral("frame"), 4},    {QStringLiteral("documents"), 2},
        {QStringLiteral("editor"), 1}, {QStringLiteral("controls"), 0},
    };
    return ranks.value(sFolder, nRankFeature);
}

QString TopFolder(const QString& sPath)
{
    return sPath.section(u'/', 0, 0);
}

// The folder right under gui/; a file lying loose in gui/ counts as a folder
// of its own, named "gui".
QString GuiFolder(const QString& sPath)
{
    return sPath.count(u'/') >= 2 ? sPath.section(u'/', 1, 1) : QStringLiteral("gui");
}

QStringList SourceFiles(const QString& sRootDir, const QString& sLayer)
{
    QStringList files;
    QDirIterator it(sRootDir + u'/' + sLayer, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    const QDir root(sRootDir);
    while (it.hasNext())
        files.append(root.relativeFilePath(it.next()));
    std::sort(files.begin(), files.end());
    return files;
}

// Resolves an include the way the compiler does with the source root on the
// include path: the including file's own folder first, then the root. Returns
// an empty string for anything outside the tree (Qt, the standard library).
QString ResolveInclude(const QString& sRootDir, const QString& sFile, const QString& sWritten)
{
    const QString sBeside = QDir::cleanPath(QFileInfo(sFile).path() + u'/' + sWritten);
    if (!sBeside.startsWith(QLatin1String("../")) && QFileInfo::exists(sRootDir + u'/' + sBeside))
        return sBeside;
    const QString sFromRoot = QDir::cleanPath(sWritten);
    static const QStringList layers{QStringLiteral("core"), QStringLiteral("gui"), QStringLiteral("app")};
    return layers.contains(TopFolder(sFromRoot)) && sFromRoot.contains(u'/') ? sFromRoot : QString();
}

QList<SInclude> ReadIncludes(const QString& sRootDir, const QString& sFile)
{
    static const QRegularExpression reInclude(QStringLiteral(R"(^\s*#\s*include\s*["<]([^">]+)[">])"));
    QList<SInclude> includes;
    QFile file(sRootDir + u'/' + sFile);
    if (!file.open(QIODevice::ReadOnly))
        return includes;
    while (!file.atEnd()) {
        const QString sLine = QString::fromUtf8(file.readLine());
        const QRegularExpressionMatch match = reInclude.match(sLine);
        if (!match.hasMatch())
            continue;
        const QString sTarget = ResolveInclude(sRootDir, sFile, match.captured(1));
        if (!sTarget.isEmpty())
            includes.append({sFile, sTarget});
    }
    return includes;
}

QString Describe(const SInclude& include)
{
    return include.sFile + QStringLiteral(" includes ") + include.sTarget;
}

// Edges between feature folders, each with the first include that makes it.
using CFolderGraph = QMap<QString, QMap<QString, SInclude>>;

// The shortest way from one folder back to itself, as the includes taken.
QList<SInclude> ShortestCycle(const CFolderGraph& graph, const QString& sStart)
{
    QMap<QString, QString> cameFrom;
    QList<QString> queue{sStart};
    for (qsizetype i = 0; i < queue.size(); ++i) {
        const QString sFolder = queue[i];
        const QMap<QString, SInclude> edges = graph.value(sFolder);
        for (auto it = edges.cbegin(); it != edges.cend(); ++it) {
            const QString& sNext = it.key();
            if (sNext == sStart) {
                QList<SInclude> cycle{it.value()};
                for (QString sAt = sFolder; sAt != sStart; sAt = cameFrom[sAt])
                    cycle.prepend(graph[cameFrom[sAt]][sAt]);
                return cycle;
            }
            if (!cameFrom.contains(sNext)) {
                cameFrom.insert(sNext, sFolder);
                queue.append(sNext);
            }
        }
    }
    return {};
}

// One entry per tangle of feature folders: each folder that lies on a cycle is
// reported once, through the shortest cycle that starts at the first of them.
QStringList CycleViolations(const CFolderGraph& graph)
{
    QStringList violations;
    QSet<QString> reported;
    for (auto it = graph.cbegin(); it != graph.cend(); ++it) {
        if (reported.contains(it.key()))
            continue;
        const QList<SInclude> cycle = ShortestCycle(graph, it.key());
        if (cycle.isEmpty())
            continue;
        QStringList path{it.key()};
        QStringList steps;
        for (const SInclude& include : cycle) {
            path.append(GuiFolder(include.sTarget));
            steps.append(Describe(include));
            reported.insert(GuiFolder(include.sFile));
        }
        violations.append(QStringLiteral("folders include each other in a cycle %1: %2")
                              .arg(path.join(QStringLiteral(" -> ")), steps.join(QStringLiteral("; "))));
    }
    return violations;
}

}  // namespace

namespace IncludeLayering {

QStringList FindViolations(const QString& sRootDir)
{
    QStringList violations;
    for (const QString& sLayer : {QStringLiteral("core"), QStringLiteral("gui")}) {
        if (!QFileInfo(sRootDir + u'/' + sLayer).isDir())
            violations.append(QStringLiteral("%1 has no %2/ folder to check").arg(sRootDir, sLayer));
    }

    for (const QString& sFile : SourceFiles(sRootDir, QStringLiteral("core"))) {
        for (const SInclude& include : ReadIncludes(sRootDir, sFile)) {
            const QString sTargetLayer = TopFolder(include.sTarget);
            if (sTargetLayer != QLatin1String("core"))
                violations.append(Describe(include) + QStringLiteral(": core may not include ") + sTargetLayer);
        }
    }

    CFolderGraph featureGraph;
    for (const QString& sFile : SourceFiles(sRootDir, QStringLiteral("gui"))) {
        for (const SInclude& include : ReadIncludes(sRootDir, sFile)) {
            const QString sTargetLayer = TopFolder(include.sTarget);
            if (sTargetLayer == QLatin1String("app")) {
                violations.append(Describe(include) + QStringLiteral(": gui may not include app"));
                continue;
            }
            if (sTargetLayer != QLatin1String("gui"))
                continue;
            const QString sFrom = GuiFolder(include.sFile);
            const QString sTo = GuiFolder(include.sTarget);
            if (sFrom == sTo)
                continue;
            const int nFrom = GuiFolderRank(sFrom);
            const int nTo = GuiFolderRank(sTo);
            if (nTo > nFrom)
                violations.append(Describe(include) + QStringLiteral(": %1 may not include %2").arg(sFrom, sTo));
            else if (nTo == nFrom && !featureGraph[sFrom].contains(sTo))
                featureGraph[sFrom].insert(sTo, include);
        }
    }
    violations.append(CycleViolations(featureGraph));
    violations.removeDuplicates();
    return violations;
}

}  // namespace IncludeLayering
