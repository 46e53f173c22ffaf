// Figures for the editor view, offscreen: the cost of a keystroke in
// documents of growing size, what the history holds after 48 small steps in
// a large document, and opening a large script to its first painted screen.
#include "core/app/memoryassociationstore.h"
#include "core/app/memorysettingsstore.h"
#include "gui/app/scripteditapp.h"
#include "gui/documents/scriptdoc.h"
#include "gui/editor/longlines.h"
#include "gui/editor/scriptview.h"
#include "core/search/searchresults.h"
#include "core/search/searchrun.h"
#include "gui/frame/mainfrm.h"
#include "gui/search/findreplacedlg.h"
#include "gui/search/searchcommands.h"
#include "realscript.h"

#include <QElapsedTimer>
#include <QListView>
#include <QScrollBar>
#include <QLineEdit>
#include <QTextBlock>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <malloc.h>
#include <unistd.h>
#include <vector>

namespace {

QByteArray ScriptOfLines(int nLines)
{
    static const char* kLines[] = {
        "; wait for the convoy",
        "_unit = _this select 0",
        "?!(alive _unit) : goto \"end\"",
        "_unit addWeapon \"M16A2\"",
        "hint format [\"%1 is ready\", name _unit]",
        "~2",
        "#loop",
        "player sideChat \"moving out\"",
    };
    QByteArray text;
    for (int i = 0; i < nLines; ++i)
        text += QByteArray(kLines[i % 8]) + "\r\n";
    return text;
}

// A script of at least nBytes bytes.
QByteArray ScriptOfBytes(qsizetype nBytes)
{
    QByteArray text = ScriptOfLines(1000);
    const QByteArray block = text;
    while (text.size() < nBytes)
        text += block;
    return text;
}

QString WriteScript(const QTemporaryDir& dir, const QString& sName, const QByteArray& text)
{
    const QString sPath = dir.filePath(sName);
    QFile file(sPath);
    file.open(QIODevice::WriteOnly);
    file.write(text);
    return sPath;
}

double Percentile(std::vector<double> values, double dFraction)
{
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(dFraction * double(values.size())))];
}

void CloseView(CScriptView* pView)
{
    auto& doc = static_cast<CScriptDoc&>(pView->Document());
    doc.SetModifiedFlag(false);
    doc.OnCloseDocument();
    QCoreApplication::processEvents();
    // Closed windows go when the event loop comes round, which it never does
    // here: until then they would go on colouring in the background.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

CScriptView* OpenView(CScriptEditApp& app, const QString& sPath)
{
    CScriptDoc* pDoc = app.OpenDocumentFile(sPath);
    // The window takes its place and size when the event loop comes round;
    // before that a paint draws next to nothing.
    QCoreApplication::processEvents();
    return pDoc ? app.MainFrame()->ActiveView() : nullptr;
}

void KeystrokeFigures(CScriptEditApp& app, const QTemporaryDir& dir)
{
    double dMedianSmall = 0;
    for (int nLines : {1000, 10000, 100000}) {
        CScriptView* pView
            = OpenView(app, WriteScript(dir, QStringLiteral("keys%1.sqs").arg(nLines), ScriptOfLines(nLines)));
        const int nMiddle = pView->document()->findBlockByNumber(nLines / 2).position() + 3;
        pView->SetSelection(nMiddle, nMiddle);
        std::vector<double> times;
        const QString sTyped = QStringLiteral("_count = _count + 1; hint \"step\"; ");
        for (int i = 0; i < 200; ++i) {
            QElapsedTimer timer;
            timer.start();
            QTest::keyClick(pView, sTyped[i % sTyped.size()].toLatin1());
            times.push_back(timer.nsecsElapsed() / 1e6);
        }
        const double dMedian = Percentile(times, 0.5);
        if (nLines == 1000)
            dMedianSmall = dMedian;
        std::printf("Keystroke in %6d lines: median %.3f ms, 99th percentile %.3f ms (%.1fx the 1,000-line median)\n",
                    nLines, dMedian, Percentile(times, 0.99), dMedian / dMedianSmall);
        CloseView(pView);
    }
}

void HistoryFigure(CScriptEditApp& app, const QTemporaryDir& dir)
{
    const QByteArray text = ScriptOfBytes(5 * 1000 * 1000);
    CScriptView* pView = OpenView(app, WriteScript(dir, QStringLiteral("history.sqs"), text));
    pView->SetSelection(1000, 1000);
    for (int i = 0; i < 48; ++i)
        QTest::keyClick(pView, 'x');
    std::printf("History after 48 one-character steps in a %.1f MB script: %lld bytes of text held\n",
                text.size() / 1e6, static_cast<long long>(pView->Document().History().TextBytes()));
    CloseView(pView);
}

void OpenFigure(CScriptEditApp& app, const QTemporaryDir& dir)
{
    const QByteArray text = ScriptOfBytes(5 * 1000 * 1000);
    const QString sPath = WriteScript(dir, QStringLiteral("open.sqs"), text);
    QElapsedTimer timer;
    timer.start();
    CScriptView* pView = OpenView(app, sPath);
    pView->viewport()->repaint();
    std::printf("Opening and colouring a %.1f MB script to its first painted screen: %.0f ms\n", text.size() / 1e6,
                timer.nsecsElapsed() / 1e6);
    CloseView(pView);
}

// Resident memory of the process, for what a document costs per byte of file.
qint64 ResidentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * sysconf(_SC_PAGESIZE) : 0;
}

// What the heap holds, whether or not the allocator gave freed pages back.
qint64 HeapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return qint64(info.uordblks + info.hblkhd);
}

int UndoSteps(const CEditBuffer& buffer)
{
    int n = 0;
    while (n < CUndoHistory::kRecords && buffer.History().UndoAt(n).bValid)
        ++n;
    return n;
}

// Replace All in a 10 MB script through the find dialog, against the core
// pass that builds the new text, in the same run.
// With nLimit, only the selection up to the end of the nLimit-th match.
void ReplaceAllFigureOf(CScriptEditApp& app, const QTemporaryDir& dir, const QString& sFind, const QString& sReplace,
                        int nLimit = 0)
{
    const QByteArray text = ScriptOfBytes(10 * 1000 * 1000);
    CScriptView* pView = OpenView(app, WriteScript(dir, QStringLiteral("replace.sqs"), text));
    const QString sText = pView->Document().PlainText();
    qsizetype nTo = sText.size();
    if (nLimit > 0) {
        qsizetype nAt = -qsizetype(sFind.size());
        for (int i = 0; i < nLimit && nAt < sText.size(); ++i)
            nAt = sText.indexOf(sFind, nAt + sFind.size(), Qt::CaseInsensitive);
        nTo = nAt + sFind.size();
        pView->SetSelection(0, int(nTo));
    }
    QElapsedTimer timer;
    timer.start();
    CSearchResults coreResults;
    QString sNew;
    const int nMatches
        = SearchRun::SearchText(sText, 0, int(nTo), QString(), {sFind, sReplace, true, {}}, coreResults, &sNew);
    const double dCore = timer.nsecsElapsed() / 1e6;
    CSearchCommands& search = app.MainFrame()->Search();
    search.Open(SFindFields::kReplace, nLimit > 0 ? SFindFields::kSelection : SFindFields::kDocument);
    search.Dialog().FindEdit()->setText(sFind);
    search.Dialog().ReplaceEdit()->setText(sReplace);
    const int nStepsBefore = UndoSteps(pView->Document());
    coreResults.Clear();
    const qint64 nHeapBefore = HeapInUse();
    timer.restart();
    search.RunAll();
    const double dEditor = timer.nsecsElapsed() / 1e6;
    // What the document itself grew by: the list of results goes first.
    search.Dialog().Results().Clear();
    search.Dialog().ShowResults();
    const double dLength = pView->Document().Length();
    const double dGrowth = double(HeapInUse() - nHeapBefore) / dLength;
    std::printf("Replace All of %d matches in a %.1f MB script%s: %.0f ms in the editor, %.0f ms for the core pass "
                "(%.1fx); %d undo step; history holds %lld bytes of text for %.1f MB of document, the heap "
                "grew by %.1f bytes per character of it\n",
                nMatches, text.size() / 1e6, nLimit > 0 ? " (a selection)" : "", dEditor, dCore, dEditor / dCore,
                UndoSteps(pView->Document()) - nStepsBefore,
                static_cast<long long>(pView->Document().History().TextBytes()), dLength / 1e6, dGrowth);
    search.Dialog().hide();
    CloseView(pView);
}

void ReplaceAllFigure(CScriptEditApp& app, const QTemporaryDir& dir)
{
    ReplaceAllFigureOf(app, dir, QStringLiteral("_unit"), QStringLiteral("_man"));
    // Every blank: well over a million matches; then exactly a million.
    ReplaceAllFigureOf(app, dir, QStringLiteral(" "), QStringLiteral("\t"));
    ReplaceAllFigureOf(app, dir, QStringLiteral(" "), QStringLiteral("\t"), 1'000'000);
}

QString RealShaped(CScriptEditApp& app, qsizetype nChars, int nLongLines)
{
    RealScript::SShape shape;
    shape.nChars = nChars;
    shape.nLongLines = nLongLines;
    return RealScript::Make(shape, app.Dictionary().m_arCommands);
}

// What the event loop does between an event and the paint it causes: the
// calls it was asked to make later go first.
void Paint(CScriptView* pView)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    pView->viewport()->repaint();
}

// One key and the paint it causes, in milliseconds.
double TimedKey(CScriptView* pView, char cKey)
{
    QElapsedTimer timer;
    timer.start();
    QTest::keyClick(pView, cKey);
    Paint(pView);
    return timer.nsecsElapsed() / 1e6;
}

std::vector<double> TimedKeys(CScriptView* pView, int nKeys)
{
    std::vector<double> times;
    const QByteArray typed = "_count = _count + 1; hint \"step\"; ";
    for (int i = 0; i < nKeys; ++i)
        times.push_back(TimedKey(pView, typed[i % typed.size()]));
    return times;
}

// A real-shaped 20 MB function file opened with auto-completion on, to its
// first painted screen, and what it holds in memory once open.
void RealOpenFigure(CScriptEditApp& app, const QTemporaryDir& dir)
{
    const qsizetype nMegabytes = qEnvironmentVariableIntValue("VELK_BENCH_OPEN_MB");
    const QByteArray bytes = RealScript::FileBytes(RealShaped(app, (nMegabytes > 0 ? nMegabytes : 20) * 1'000'000, 6));
    const QString sPath = WriteScript(dir, QStringLiteral("real20.sqf"), bytes);
    const int nWordsBefore = int(app.Dictionary().m_arAutoComplete.size());
    // What starting freed goes back first, or the document would reuse it unseen.
    malloc_trim(0);
    const qint64 nResidentBefore = ResidentBytes();
    const qint64 nHeapBefore = HeapInUse();
    QElapsedTimer timer;
    timer.start();
    CScriptView* pView = OpenView(app, sPath);
    pView->viewport()->repaint();
    const double dOpen = timer.nsecsElapsed() / 1e6;
    const qint64 nResident = ResidentBytes() - nResidentBefore;
    const qint64 nHeap = HeapInUse() - nHeapBefore;
    std::printf("Opening a %.1f MB real-shaped function file, auto-completion on, to its first painted screen: "
                "%.0f ms (goal 2000 ms); memory %.1f bytes per byte of file (goal 8), %.1f of them held on the heap; "
                "completion list %d -> %d words\n",
                bytes.size() / 1e6, dOpen, double(nResident) / double(bytes.size()),
                double(nHeap) / double(bytes.size()), nWordsBefore, int(app.Dictionary().m_arAutoComplete.size()));
    CloseView(pView);
}

// A file opened with the caret at its end, painted once.
CScriptView* OpenAtEnd(CScriptEditApp& app, const QTemporaryDir& dir, const QString& sName, const QString& sText)
{
    CScriptView* pView = OpenView(app, WriteScript(dir, sName, RealScript::FileBytes(sText)));
    pView->SetSelection(pView->Document().Length(), pView->Document().Length());
    pView->viewport()->repaint();
    return pView;
}

// Typing at the end of a 150 KB position table.
void LongLineFigure(CScriptEditApp& app, const QTemporaryDir& dir)
{
    const QString sScript = RealShaped(app, 200'000, 0);
    QString sRows;
    for (int i = 0; sRows.size() < 150'000; ++i)
        sRows += QStringLiteral("[%1.5,%2.25,0],").arg(1000 + i * 7 % 9000).arg(2000 + i * 13 % 7000);
    const QString sTable = QStringLiteral("_roads = [") + sRows;
    CScriptView* pView = OpenAtEnd(app, dir, QStringLiteral("long.sqf"), sScript + sTable);
    const std::vector<double> times = TimedKeys(pView, 60);
    std::printf("Keystroke at the end of a %.0f KB line: median %.1f ms, 90th percentile %.1f ms (goal 16 ms)\n",
                sTable.size() / 1e3, Percentile(times, 0.5), Percentile(times, 0.9));
    // A pause in the typing lays the line out, off any key's frame; the
    // first key after it measures the line afresh.
    std::vector<double> layouts;
    std::vector<double> afterPause;
    const QTextBlock line = pView->document()->lastBlock();
    for (int i = 0; i < 10; ++i) {
        TimedKeys(pView, 5);
        QElapsedTimer timer;
        timer.start();
        LongLines::CDocumentLayout::LayOutLine(line);
        layouts.push_back(timer.nsecsElapsed() / 1e6);
        afterPause.push_back(TimedKey(pView, 'x'));
    }
    std::printf("  laying the line out when typing pauses: median %.1f ms; the first key after: median %.1f ms\n",
                Percentile(layouts, 0.5), Percentile(afterPause, 0.5));
    // The typed words known from the start: a completion shows after nearly
    // every word key, the dearest case. Pressing and letting go are events
    // of their own, each painted before the next comes.
    for (const char* pszWord : {"_count", "hint", "step"})
        app.Dictionary().LearnAutoComplete(QString::fromLatin1(pszWord));
    std::vector<double> press;
    std::vector<double> release;
    const QByteArray typed = "_count = _count + 1; hint \"step\"; ";
    for (int i = 0; i < 60; ++i) {
        const char c = typed[i % typed.size()];
        QElapsedTimer timer;
        timer.start();
        QTest::keyPress(pView, c);
        Paint(pView);
        press.push_back(timer.nsecsElapsed() / 1e6);
        timer.restart();
        QTest::keyRelease(pView, c);
        Paint(pView);
        release.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::vector<double> frames = press;
    frames.insert(frames.end(), release.begin(), release.end());
    std::printf("  with a completion offered at each word key: pressing and painting median %.1f ms, letting go "
                "and painting median %.1f ms, the dearest frame %.1f ms (goal 16 ms)\n",
                Percentile(press, 0.5), Percentile(release, 0.5), Percentile(frames, 1.0));
    CloseView(pView);
    // The rows alone on their line, no letter before them.
    pView = OpenAtEnd(app, dir, QStringLiteral("rows.sqf"), sScript + QLatin1Char('\n') + sRows);
    std::printf("  the rows alone on a line of their own, no letter before them: median %.1f ms\n",
                Percentile(TimedKeys(pView, 60), 0.5));
    CloseView(pView);
}

struct SFirstKeys
{
    std::vector<double> afterOpen;
    std::vector<double> afterSave;
    std::vector<double> later;
    std::vector<double> save;
};

// Opens the file, types a key, more keys, saves and types once more.
void AddFirstKeys(CScriptEditApp& app, const QString& sPath, SFirstKeys& keys)
{
    CScriptView* pView = OpenView(app, sPath);
    pView->SetSelection(5000, 5000);
    // Placing the caret may scroll: that paint is not the keystroke's. A
    // big text learns its width only as its first screen is painted, and a
    // horizontal scroll bar coming then can cover the caret's line, so the
    // caret is brought into view once more, as the user would see it.
    QCoreApplication::processEvents();
    pView->viewport()->repaint();
    pView->ensureCursorVisible();
    pView->viewport()->repaint();
    keys.afterOpen.push_back(TimedKey(pView, 'x'));
    keys.later.push_back(Percentile(TimedKeys(pView, 30), 0.5));
    auto& doc = static_cast<CScriptDoc&>(pView->Document());
    QElapsedTimer timer;
    timer.start();
    doc.OnSaveDocument(sPath);
    keys.save.push_back(timer.nsecsElapsed() / 1e6);
    // Saving takes back an offered completion first, and the window shows
    // that before the next key comes: that paint is the save's.
    QCoreApplication::processEvents();
    pView->viewport()->repaint();
    keys.afterSave.push_back(TimedKey(pView, 'y'));
    CloseView(pView);
}

// One first keystroke is one sample on a shared machine: each file is
// opened three times and the medians are shown.
SFirstKeys FirstKeys(CScriptEditApp& app, const QString& sPath)
{
    SFirstKeys keys;
    for (int i = 0; i < 3; ++i)
        AddFirstKeys(app, sPath, keys);
    return keys;
}

// The first keystroke after opening and after saving a 50 MB script against
// the ones after it. The first edit of any file also marks it modified in
// the title and the commands, so a script of 6 KB shows what that costs.
void FirstKeystrokeFigure(CScriptEditApp& app, const QTemporaryDir& dir)
{
    const QByteArray small = RealScript::FileBytes(RealShaped(app, 6'000, 0));
    const QString sSmall = WriteScript(dir, QStringLiteral("real6k.sqf"), small);
    // The first file edited in a run pays for what any first edit sets up.
    SFirstKeys warm;
    AddFirstKeys(app, sSmall, warm);
    const QByteArray bytes = RealScript::FileBytes(RealShaped(app, 50'000'000, 8));
    const SFirstKeys big = FirstKeys(app, WriteScript(dir, QStringLiteral("real50.sqf"), bytes));
    const SFirstKeys base = FirstKeys(app, sSmall);
    const auto median = [](const std::vector<double>& values) { return Percentile(values, 0.5); };
    std::printf("%.1f MB real-shaped script, medians of three openings: first keystroke after opening %.1f ms, after "
                "saving %.1f ms, later ones %.1f ms (goal: the same); saving took %.0f ms\n",
                bytes.size() / 1e6, median(big.afterOpen), median(big.afterSave), median(big.later), median(big.save));
    std::printf("  the same in a %.0f KB script: %.1f ms, %.1f ms, later ones %.1f ms\n", small.size() / 1e3,
                median(base.afterOpen), median(base.afterSave), median(base.later));
}

// Find All listing over half a million lines: until the list shows, and
// each jump of the scroll bars after.
void ResultsListFigure(CScriptEditApp& app, const QTemporaryDir& dir)
{
    CScriptView* pView = OpenView(app, WriteScript(dir, QStringLiteral("results.sqs"), ScriptOfBytes(12'000'000)));
    CSearchCommands& search = app.MainFrame()->Search();
    search.Open(SFindFields::kFind, SFindFields::kDocument);
    search.Dialog().FindEdit()->setText(QStringLiteral("_unit"));
    QListView* pList = search.Dialog().ResultsList();
    search.Dialog().show();
    search.Dialog().SetResultsShown(true);
    QElapsedTimer timer;
    timer.start();
    search.RunAll();
    // The list lays its rows out when the event loop comes round.
    QCoreApplication::processEvents();
    pList->repaint();
    const double dShown = timer.nsecsElapsed() / 1e6;
    std::vector<double> scrolls;
    for (int i = 1; i <= 40; ++i) {
        QScrollBar* pBar = i % 4 == 0 ? pList->horizontalScrollBar() : pList->verticalScrollBar();
        timer.restart();
        pBar->setValue(pBar->maximum() / 40 * ((i * 17) % 40));
        QCoreApplication::processEvents();
        pList->viewport()->repaint();
        scrolls.push_back(timer.nsecsElapsed() / 1e6);
    }
    if (!pList->isVisible() || pList->verticalScrollBar()->maximum() == 0)
        std::printf("Find All listing: the list did not show\n");
    std::printf("Find All listing %d lines: shown after %.0f ms; a jump of the scroll bars repaints in %.1f ms "
                "(median), %.1f ms at most (goal: no lag, within a 16 ms frame)\n",
                search.Dialog().Results().LineCount(), dShown, Percentile(scrolls, 0.5), Percentile(scrolls, 1.0));
    search.Dialog().Results().Clear();
    search.Dialog().ShowResults();
    search.Dialog().hide();
    CloseView(pView);
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dir;
    CAppEnvironment env;
    env.pStore = std::make_unique<CMemorySettingsStore>();
    env.pAssociations = std::make_unique<CMemoryAssociationStore>();
    // A copy of the data files, so the run writes its project list there.
    for (const char* pszFile : {"commands.dat", "unit.dat", "header.dat"})
        QFile::copy(QStringLiteral(VELK_SHARE_DIR "/") + QLatin1String(pszFile), dir.filePath(QLatin1String(pszFile)));
    env.sExeDir = dir.path();
    env.sUserDataDir = dir.filePath(QStringLiteral("data"));
    env.sInstanceName = QStringLiteral("velkedit-bench-%1").arg(QCoreApplication::applicationPid());
    CScriptEditApp app(argc, argv, std::move(env));
    if (!app.InitInstance())
        return 1;
    app.MainFrame()->resize(1000, 700);
    // VELK_BENCH_ONLY: the names to run, separated by commas, in the order of the table below.
    const QStringList only = qEnvironmentVariable("VELK_BENCH_ONLY").split(u',', Qt::SkipEmptyParts);
    // The memory figure comes first: what a figure before it freed is
    // neither counted nor given back to the system in time.
    const std::pair<const char*, void (*)(CScriptEditApp&, const QTemporaryDir&)> figures[] = {
        {"realopen", RealOpenFigure},       {"keystroke", KeystrokeFigures},
        {"history", HistoryFigure},         {"open", OpenFigure},
        {"replace", ReplaceAllFigure},      {"longline", LongLineFigure},
        {"firstkey", FirstKeystrokeFigure}, {"results", ResultsListFigure},
    };
    for (const auto& [pszName, figure] : figures)
        if (only.isEmpty() || only.contains(QLatin1String(pszName)))
            figure(app, dir);
    return 0;
}
