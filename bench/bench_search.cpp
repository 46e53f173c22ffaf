// Search figures on generated mission scripts: Replace All of a million
// matches against a plain QString::replace of the same text, Find All over
// 32 closed files against grep over the same files, and Find Next through a
// 20 MB script. The ratios are measured in this same run.
#include "core/search/searchresults.h"
#include "core/search/searchrun.h"
#include "core/search/textsearch.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>

namespace {

constexpr int kReplaceMatches = 1000000;
constexpr int kClosedFiles = 32;
constexpr qsizetype kClosedFileBytes = 1 << 20;
constexpr qsizetype kFindNextChars = 20 << 20;

const QString kLocal = QStringLiteral("_x");
const QString kLocalRenamed = QStringLiteral("_xPos");
const QString kPlayer = QStringLiteral("player");
const QString kLabel = QStringLiteral("#endmission");

// A position table as missions keep them: one line of about 70 KB.
QString PositionTable(QRandomGenerator& random)
{
    QString sLine = QStringLiteral("\t_positions = [");
    while (sLine.size() < 70000)
        sLine += QStringLiteral("[%1.%2,%3.%4,0],")
                     .arg(random.bounded(10000))
                     .arg(random.bounded(10))
                     .arg(random.bounded(10000))
                     .arg(random.bounded(10));
    sLine.chop(1);
    return sLine + u']';
}

// A patrol script that moves markers and units about with its local
// variables, three position tables in it, until kLocal has been written
// nMatches times (case ignored, part of longer names included).
QString LocalsScript(int nMatches)
{
    static const QStringList kLines{QStringLiteral("\t_x = _x + (_dx * _i) / _xScale;"),
                                    QStringLiteral("\t\t_unit setPos [_x, _y, 0];"),
                                    QStringLiteral("\t_y = _y + _dy;"),
                                    QStringLiteral("\tif (_x > _xMax) then {_x = _xMax};"),
                                    QStringLiteral("\t_x = _x * _x; _xScale = _x;"),
                                    QStringLiteral("\t_x = _x max 0; _x = _x min _xMax;")};
    QList<int> counts;
    for (const QString& sLine : kLines)
        counts.append(int(sLine.count(kLocal, Qt::CaseInsensitive)));
    QRandomGenerator random(11);
    QString sText;
    int nWritten = 0;
    for (int i = 0; nWritten < nMatches; ++i) {
        if (i % 200000 == 100000)
            sText += PositionTable(random) + u'\n';
        const int nLine = i % int(kLines.size());
        sText += kLines[nLine] + u'\n';
        nWritten += counts[nLine];
    }
    return sText;
}

// Lines of a mission's scripts in random order: kPlayer now and then as a
// word, as part of longer names and in other case.
QString MissionLines(QRandomGenerator& random, qsizetype nChars, QStringView lineBreak)
{
    static const QStringList kLines{QStringLiteral("; the squad waits for the player at the bridge"),
                                    QStringLiteral("\t_unit = _this select 0"),
                                    QStringLiteral("\t_grp = group player"),
                                    QStringLiteral("\t?(_unit distance player < 50): goto \"near\""),
                                    QStringLiteral("\t_unit doMove getPos _leader"),
                                    QStringLiteral("\t_pos = getMarkerPos \"respawn_west\""),
                                    QStringLiteral("\t~(random 5)"),
                                    QStringLiteral("#near"),
                                    QStringLiteral("\thint format [\"%1 is near the PLAYER\", name _unit]"),
                                    QStringLiteral("\t_side = playerSide"),
                                    QStringLiteral("\t_units = units group _leader"),
                                    QStringLiteral("\t\t_unit addMagazine \"30Rnd_556x45_Stanag\""),
                                    QStringLiteral("\t\t_unit addWeapon \"M16A2\""),
                                    QStringLiteral("\t_players = [] call _fnGetPlayers"),
                                    QStringLiteral("\texit")};
    QString sText;
    sText.reserve(nChars + 200);
    while (sText.size() < nChars) {
        if (random.bounded(4000) == 0)
            sText += PositionTable(random);
        else
            sText += kLines[random.bounded(int(kLines.size()))];
        sText += lineBreak;
    }
    sText.truncate(sText.lastIndexOf(lineBreak, nChars) + lineBreak.size());
    return sText;
}

// Closed project files of 1 MB each, written once, Windows-1252 with CR LF.
struct SClosedFiles
{
    SClosedFiles()
    {
        QRandomGenerator random(5);
        for (int i = 0; i < kClosedFiles; ++i) {
            const QString sPath = dir.filePath(QStringLiteral("script%1.sqs").arg(i, 2, 10, QLatin1Char('0')));
            QFile file(sPath);
            if (file.open(QIODevice::WriteOnly))
                file.write(MissionLines(random, kClosedFileBytes, u"\r\n").toLatin1());
            arPaths.append(sPath);
        }
    }
    QTemporaryDir dir;
    QStringList arPaths;
};

const SClosedFiles& ClosedFiles()
{
    static const SClosedFiles files;
    return files;
}

// The 20 MB script with the one match of kLabel near its end.
const QString& LongScript()
{
    static const QString sText = [] {
        QRandomGenerator random(3);
        QString s = MissionLines(random, kFindNextChars - 4096, u"\n");
        s += kLabel + u'\n' + MissionLines(random, 4000, u"\n");
        return s;
    }();
    return sText;
}

SSearchSpec ReplaceLocals()
{
    SSearchSpec spec;
    spec.sFind = kLocal;
    spec.sReplace = kLocalRenamed;
    spec.bReplace = true;
    return spec;
}

SSearchSpec FindPlayerWord()
{
    SSearchSpec spec;
    spec.sFind = kPlayer;
    spec.options.bWholeWord = true;
    return spec;
}

int ReplaceAllLocals(const QString& sText)
{
    CSearchResults results;
    QString sNewText;
    const int nMatches = SearchRun::SearchText(sText, 0, int(sText.size()), QStringLiteral("patrol.sqs"),
                                               ReplaceLocals(), results, &sNewText);
    benchmark::DoNotOptimize(sNewText.constData());
    return nMatches;
}

void PlainReplace(const QString& sText)
{
    QString sNewText = sText;
    sNewText.replace(kLocal, kLocalRenamed, Qt::CaseInsensitive);
    benchmark::DoNotOptimize(sNewText.constData());
}

int FindAllInClosedFiles()
{
    CSearchResults results;
    for (const QString& sPath : ClosedFiles().arPaths)
        SearchRun::SearchClosedFile(sPath, FindPlayerWord(), results);
    return results.MatchCount();
}

QString Grep()
{
    static const QString sGrep = QStandardPaths::findExecutable(QStringLiteral("grep"));
    return sGrep;
}

// grep writes its lines into a pipe, as it would for a reader: with its
// output thrown away it stops at the first match. In the user's own locale
// (UTF-8 here) it folds case character by character; in the C locale byte
// by byte, its fastest.
qint64 GrepClosedFiles(bool bByteLocale)
{
    QProcess grep;
    if (bByteLocale) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
        grep.setProcessEnvironment(environment);
    }
    grep.start(Grep(), QStringList{QStringLiteral("-nwi"), kPlayer} + ClosedFiles().arPaths);
    qint64 nBytes = 0;
    while (grep.waitForReadyRead(-1))
        nBytes += grep.readAllStandardOutput().size();
    grep.waitForFinished(-1);
    return nBytes + grep.readAllStandardOutput().size();
}

STextMatch FindLabel(bool bMatchCase, bool bWholeWord)
{
    const QString& sText = LongScript();
    return TextSearch::FindNext(sText, kLabel, int(sText.size() / 2), {bMatchCase, bWholeWord, true});
}

void BM_ReplaceAllMillionMatches(benchmark::State& state)
{
    const QString sText = LocalsScript(kReplaceMatches);
    int nMatches = 0;
    for (auto _ : state)
        nMatches = ReplaceAllLocals(sText);
    state.counters["matches"] = nMatches;
    state.SetBytesProcessed(state.iterations() * sText.size() * 2);
}
BENCHMARK(BM_ReplaceAllMillionMatches)->Unit(benchmark::kMillisecond);

void BM_PlainQStringReplace(benchmark::State& state)
{
    const QString sText = LocalsScript(kReplaceMatches);
    for (auto _ : state)
        PlainReplace(sText);
    state.SetBytesProcessed(state.iterations() * sText.size() * 2);
}
BENCHMARK(BM_PlainQStringReplace)->Unit(benchmark::kMillisecond);

void BM_FindAllInClosedFiles(benchmark::State& state)
{
    int nMatches = 0;
    for (auto _ : state)
        nMatches = FindAllInClosedFiles();
    state.counters["matches"] = nMatches;
    state.SetBytesProcessed(state.iterations() * kClosedFiles * kClosedFileBytes);
}
BENCHMARK(BM_FindAllInClosedFiles)->Unit(benchmark::kMillisecond);

void BM_GrepClosedFiles(benchmark::State& state)
{
    if (Grep().isEmpty()) {
        state.SkipWithError("grep is not installed");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(GrepClosedFiles(state.range(0) == 1));
    state.SetBytesProcessed(state.iterations() * kClosedFiles * kClosedFileBytes);
}
// 0: the user's locale, 1: the C locale.
BENCHMARK(BM_GrepClosedFiles)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// 0: case ignored, 1: match case, 2: whole word, case ignored.
void BM_FindNextInLongScript(benchmark::State& state)
{
    const bool bMatchCase = state.range(0) == 1;
    const bool bWholeWord = state.range(0) == 2;
    LongScript();
    for (auto _ : state)
        benchmark::DoNotOptimize(FindLabel(bMatchCase, bWholeWord));
    // Half the text is searched, two bytes a character.
    state.SetBytesProcessed(state.iterations() * LongScript().size());
}
BENCHMARK(BM_FindNextInLongScript)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// The best of a few runs, in milliseconds.
double BestMs(const std::function<void()>& run, int nRuns = 3)
{
    double dBest = 1e300;
    for (int i = 0; i < nRuns; ++i) {
        const auto start = std::chrono::steady_clock::now();
        run();
        dBest = std::min(dBest,
                         std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    return dBest;
}

void PrintFigures()
{
    const QString sLocals = LocalsScript(kReplaceMatches);
    int nReplaced = 0;
    const double dReplaceAll = BestMs([&] { nReplaced = ReplaceAllLocals(sLocals); });
    const double dPlain = BestMs([&] { PlainReplace(sLocals); });
    std::printf("Replace All of %d matches in %.1f MB: %.0f ms; QString::replace of the same: %.0f ms; %.1fx\n",
                nReplaced, sLocals.size() / 1e6, dReplaceAll, dPlain, dReplaceAll / dPlain);

    int nFound = 0;
    const double dFindAll = BestMs([&] { nFound = FindAllInClosedFiles(); });
    if (Grep().isEmpty()) {
        std::printf("Find All over %d closed files of 1 MB: %.0f ms, %d matches; no grep to compare with\n",
                    kClosedFiles, dFindAll, nFound);
    } else {
        const double dGrep = BestMs([] { GrepClosedFiles(false); });
        const double dGrepC = BestMs([] { GrepClosedFiles(true); });
        std::printf("Find All over %d closed files of 1 MB: %.0f ms, %d matches; grep -nwi: %.0f ms, %.2fx grep; "
                    "in the C locale: %.0f ms, %.2fx grep\n",
                    kClosedFiles, dFindAll, nFound, dGrep, dFindAll / dGrep, dGrepC, dFindAll / dGrepC);
    }

    const char* const kKinds[] = {"case ignored", "match case", "whole word"};
    for (int i = 0; i < 3; ++i) {
        STextMatch match;
        const double dFindNext = BestMs([&] { match = FindLabel(i == 1, i == 2); });
        std::printf("Find Next in %.1f MB from the middle, %s: %.1f ms (match %s)\n", LongScript().size() / 1e6,
                    kKinds[i], dFindNext, match.IsFound() ? "found near the end" : "NOT FOUND");
    }
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    PrintFigures();
    benchmark::Shutdown();
    return 0;
}
