// Localize Strings over a project of 32 closed scripts: read, localize and
// write each file, as the command does, at two sizes to show it grows
// linearly with the number of texts.
#include "core/documents/textfile.h"
#include "core/localize/localizer.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int kScripts = 32;

// Mission script lines: messages among the moves, tab indented.
QString ScriptText(int nTexts, QRandomGenerator& random)
{
    static const QStringList kFiller{
        QStringLiteral("\t_unit doMove getMarkerPos \"wp1\""), QStringLiteral("\t~(random 3)"),
        QStringLiteral("\t?(_unit distance player < 50): goto \"near\""), QStringLiteral("\t_grp = group _unit")};
    static const QStringList kMessages{QStringLiteral("\thint \"The convoy is moving\""),
                                       QStringLiteral("\tplayer sideChat \"Contact, north of the bridge\""),
                                       QStringLiteral("\ttitleText [\"Two hours later\", \"PLAIN DOWN\"]"),
                                       QStringLiteral("\t_leader groupChat \"Hold fire\"")};
    QString sText;
    for (int i = 0; i < nTexts; ++i) {
        for (int j = 0; j < 3; ++j)
            sText += kFiller[random.bounded(int(kFiller.size()))] + QStringLiteral("\r\n");
        sText += kMessages[random.bounded(int(kMessages.size()))] + QStringLiteral("\r\n");
    }
    return sText;
}

// The closed scripts of one project, written afresh for every run.
void WriteProject(const QTemporaryDir& dir, int nTexts)
{
    QRandomGenerator random(5);
    for (int i = 0; i < kScripts; ++i)
        TextFile::Save(QDir(dir.path()).filePath(QStringLiteral("s%1.sqs").arg(i)),
                       ScriptText(nTexts / kScripts, random), ETextEncoding::Cp1252);
}

int LocalizeProject(const QTemporaryDir& dir)
{
    int nNext = 0;
    for (int i = 0; i < kScripts; ++i) {
        const QString sPath = QDir(dir.path()).filePath(QStringLiteral("s%1.sqs").arg(i));
        TextFile::SLoaded loaded;
        QString sError;
        if (TextFile::Load(sPath, &loaded, &sError) != TextFile::ELoad::Ok)
            return -1;
        const Localize::SLocalized localized = Localize::LocalizeText(loaded.sText, nNext);
        TextFile::Save(sPath, localized.sText, &loaded.format);
        nNext = localized.nNext;
    }
    return nNext;
}

void BM_LocalizeProject(benchmark::State& state)
{
    const int nTexts = int(state.range(0));
    QTemporaryDir dir;
    int nLocalized = 0;
    for (auto _ : state) {
        state.PauseTiming();
        WriteProject(dir, nTexts);
        state.ResumeTiming();
        nLocalized = LocalizeProject(dir);
    }
    state.counters["texts"] = nLocalized;
}
BENCHMARK(BM_LocalizeProject)->Arg(5000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
