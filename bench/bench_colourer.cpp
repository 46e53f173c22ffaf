// Colouring throughput on a generated function file with the shipped
// dictionary, against the same colourer looking words up by scanning the
// lists one entry after another.
#include "core/app/datapaths.h"
#include "core/data/dictionary.h"
#include "core/editor/colourer.h"

#include <benchmark/benchmark.h>

#include <QRandomGenerator>

#include <chrono>
#include <cstdio>

namespace {

const CDictionary& ShippedDictionary()
{
    static CDictionary dictionary = [] {
        CDictionary d;
        d.LoadDataFiles(CDataPaths::FromAppPath(QStringLiteral(VELK_SHARE_DIR)), true);
        return d;
    }();
    return dictionary;
}

QStringList GeneratedFunctionFile(int nLines)
{
    const CDictionary& d = ShippedDictionary();
    QRandomGenerator random(7);
    auto pick = [&](const CSortStringArray& list) {
        return list.isEmpty() ? QString() : list[random.bounded(int(list.size()))];
    };
    QStringList lines;
    for (int i = 0; i < nLines; ++i) {
        switch (i % 8) {
        case 0:
            lines.append(QStringLiteral("// step %1: %2 the squad").arg(i).arg(pick(d.m_arCommands)));
            break;
        case 1:
            lines.append(QStringLiteral("_unit%1 = _this select %2;").arg(i % 17).arg(i % 4));
            break;
        case 2:
            lines.append(QStringLiteral("if (%1 player) then {").arg(pick(d.m_arCommands)));
            break;
        case 3:
            lines.append(QStringLiteral("    _unit addWeapon \"%1\"; _unit addMagazine \"%2\";")
                             .arg(pick(d.m_arInfWeapons), pick(d.m_arInfMagazines)));
            break;
        case 4:
            lines.append(QStringLiteral("    hint format [\"%1 has %%1 rounds\", count _list];").arg(i));
            break;
        case 5:
            lines.append(QStringLiteral("};"));
            break;
        case 6:
            lines.append(QStringLiteral("/* vehicle %1 */ _v = \"%2\" createVehicle getPos player;")
                             .arg(i)
                             .arg(pick(d.m_arVehicles)));
            break;
        default:
            lines.append(QStringLiteral("waitUntil {sleep 1; !(alive _unit%1) or (_time > 30)};").arg(i % 17));
            break;
        }
    }
    return lines;
}

quint8 LinearListsOf(const QString& sWord)
{
    const CDictionary& d = ShippedDictionary();
    quint8 nLists = 0;
    const std::pair<EWordList, const CSortStringArray*> lists[]
        = {{EWordList::Commands, &d.m_arCommands},         {EWordList::InfWeapons, &d.m_arInfWeapons},
           {EWordList::InfMagazines, &d.m_arInfMagazines}, {EWordList::VehWeapons, &d.m_arVehWeapons},
           {EWordList::VehMagazines, &d.m_arVehMagazines}, {EWordList::Vehicles, &d.m_arVehicles},
           {EWordList::Equipment, &d.m_arEquipment}};
    for (const auto& [eList, pList] : lists)
        if (pList->Find(sWord) >= 0)
            nLists |= CWordIndex::Bit(eList);
    return nLists;
}

qint64 Bytes(const QStringList& lines)
{
    qint64 nBytes = 0;
    for (const QString& sLine : lines)
        nBytes += sLine.size() + 2;
    return nBytes;
}

// Line by line, the comment state handed on, as the editor colours a text.
void ColourAllLines(const CColourer& colourer, const QStringList& lines)
{
    const SColourSwitches switches;
    bool bOpen = false;
    for (const QString& sLine : lines) {
        const SLineColours colours = colourer.ColourLine(sLine, bOpen, kFileSQF, switches);
        benchmark::DoNotOptimize(colours.runs.constData());
        bOpen = colours.bCommentOpenAtEnd;
    }
}

void BM_ColourFunctionFile(benchmark::State& state)
{
    const QStringList lines = GeneratedFunctionFile(20000);
    const CColourer colourer(ShippedDictionary());
    for (auto _ : state)
        ColourAllLines(colourer, lines);
    state.SetBytesProcessed(state.iterations() * Bytes(lines));
}
BENCHMARK(BM_ColourFunctionFile)->Unit(benchmark::kMillisecond);

void BM_ColourFunctionFileLinearLookups(benchmark::State& state)
{
    const QStringList lines = GeneratedFunctionFile(20000);
    const CColourer colourer(LinearListsOf);
    for (auto _ : state)
        ColourAllLines(colourer, lines);
    state.SetBytesProcessed(state.iterations() * Bytes(lines));
}
BENCHMARK(BM_ColourFunctionFileLinearLookups)->Unit(benchmark::kMillisecond)->Iterations(2);

// The pass that fills the completion list when a file opens, on top of
// colouring it.
void BM_CollectLocalVariables(benchmark::State& state)
{
    const QStringList lines = GeneratedFunctionFile(20000);
    for (auto _ : state)
        for (const QString& sLine : lines)
            benchmark::DoNotOptimize(CColourer::LocalVariables(sLine, kFileSQF).constData());
    state.SetBytesProcessed(state.iterations() * Bytes(lines));
}
BENCHMARK(BM_CollectLocalVariables)->Unit(benchmark::kMillisecond);

double SecondsToColour(const CColourer& colourer, const QStringList& lines)
{
    const auto start = std::chrono::steady_clock::now();
    ColourAllLines(colourer, lines);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    const QStringList lines = GeneratedFunctionFile(20000);
    const double dFast = SecondsToColour(CColourer(ShippedDictionary()), lines);
    const double dSlow = SecondsToColour(CColourer(LinearListsOf), lines);
    std::printf("Colouring 20,000 lines (%.1f MB): %.1f MB/s with the index, %.1f MB/s scanning the lists, %.1fx\n",
                Bytes(lines) / 1e6, Bytes(lines) / 1e6 / dFast, Bytes(lines) / 1e6 / dSlow, dSlow / dFast);
    benchmark::Shutdown();
    return 0;
}
