// Start-up figures: the shipped data files read and the completion list built,
// and the completion sort against the plain selection sort it replaces.
#include "core/app/datapaths.h"
#include "core/data/dictionary.h"

#include <benchmark/benchmark.h>

#include <QRandomGenerator>

#include <chrono>
#include <cstdio>

namespace {

CSortStringArray RandomWords(int nCount)
{
    QRandomGenerator random(42);
    CSortStringArray words;
    static const char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_";
    for (int i = 0; i < nCount; ++i) {
        QString sWord;
        const int nLen = 3 + random.bounded(12);
        for (int c = 0; c < nLen; ++c)
            sWord += QLatin1Char(kChars[random.bounded(int(sizeof kChars) - 1)]);
        words.append(sWord);
    }
    return words;
}

// The selection sort the completion list used to be built with: each pass
// scans the whole work list for its greatest entry.
void SelectionSort(CSortStringArray& list)
{
    if (list.size() < 2)
        return;
    QStringList work = list;
    const qsizetype n = work.size();
    list.clear();
    for (qsizetype pass = 0; pass < n; ++pass) {
        QString sCurrent;
        qsizetype k = 0;
        for (qsizetype j = 0; j < work.size(); ++j) {
            const int nCmp = CompareNoCase(work[j], sCurrent);
            if (nCmp > 0) {
                k = j;
                sCurrent = work[j];
            } else if (nCmp == 0) {
                k = j;
                sCurrent.clear();
                break;
            }
        }
        if (!sCurrent.isEmpty())
            list.prepend(sCurrent);
        work.removeAt(k);
    }
}

void BM_LoadShippedDataAndBuildCompletion(benchmark::State& state)
{
    const CDataPaths paths = CDataPaths::FromAppPath(QStringLiteral(VELK_SHARE_DIR));
    for (auto _ : state) {
        CDictionary dictionary;
        if (!dictionary.LoadDataFiles(paths, true)) {
            state.SkipWithError("shipped data files not found");
            return;
        }
        dictionary.BuildAutoComplete(true);
        benchmark::DoNotOptimize(dictionary.m_arAutoComplete.size());
    }
}
BENCHMARK(BM_LoadShippedDataAndBuildCompletion)->Unit(benchmark::kMillisecond);

void BM_Sort5000(benchmark::State& state)
{
    const CSortStringArray words = RandomWords(5000);
    for (auto _ : state) {
        CSortStringArray list = words;
        list.Sort();
        benchmark::DoNotOptimize(list.size());
    }
}
BENCHMARK(BM_Sort5000)->Unit(benchmark::kMillisecond);

void BM_SelectionSort5000(benchmark::State& state)
{
    const CSortStringArray words = RandomWords(5000);
    for (auto _ : state) {
        CSortStringArray list = words;
        SelectionSort(list);
        benchmark::DoNotOptimize(list.size());
    }
}
BENCHMARK(BM_SelectionSort5000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    // The ratio is the figure that matters; print it on its own line.
    const CSortStringArray words = RandomWords(5000);
    auto time = [&](auto sort) {
        CSortStringArray list = words;
        const auto start = std::chrono::steady_clock::now();
        sort(list);
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    const double dFast = time([](CSortStringArray& l) { l.Sort(); });
    const double dSlow = time(SelectionSort);
    std::printf("Sort of 5000 words: %.1fx faster than the selection sort\n", dSlow / dFast);
    benchmark::Shutdown();
    return 0;
}
