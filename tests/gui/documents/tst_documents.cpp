#include "gui/app/widgetprompter.h"
#include "gui/documents/childfrm.h"
#include "gui/documents/doctemplate.h"
#include "gui/documents/savemodifieddlg.h"
#include "gui/documents/scriptdoc.h"
#include "gui/editor/scriptview.h"
#include "gui/frame/mainfrm.h"
#include "tests/support/editorfixture.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMdiArea>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTimer>
#include <QtTest>

using namespace VelkTest;
using EAnswer = IPrompter::EAnswer;

Q_DECLARE_METATYPE(EDocKind)
Q_DECLARE_METATYPE(EFileType)
Q_DECLARE_METATYPE(ETextEncoding)
Q_DECLARE_METATYPE(IPrompter::EAnswer)

namespace {

const QString kSave = QStringLiteral("&Save");
const QString kSaveAs = QStringLiteral("Save &As...");
const QString kSaveAll = QStringLiteral("Save A&ll");
const QString kClose = QStringLiteral("&Close");
const QString kOpen = QStringLiteral("&Open...");

// Restored document windows unless a test asks otherwise; the main window's
// caption with a maximised one is checked on its own. The typing aids keep
// their defaults here.
CMemorySettingsStore DocumentSeed(const QList<SSetting>& settings = {})
{
    return Seed(QList<SSetting>{{"DocMax", 0}} + settings);
}

// QTest's own key clicks pass only Latin-1; mission text needs more.
void Type(const CScriptDoc* pDoc, const QString& sText)
{
    for (const QChar c : sText) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(View(pDoc), &press);
        QApplication::sendEvent(View(pDoc), &release);
    }
}

QString MainTitle(CStart& start)
{
    return start.App().MainFrame()->windowTitle();
}

void QuitDiscarding(CStart& start)
{
    start.Prompter().m_saveModifiedAnswers.append({EAnswer::No, {}});
    start.App().MainFrame()->close();
}

QByteArray EveryHighByte()
{
    QByteArray bytes;
    for (int b = 0x20; b <= 0xFF; ++b) {
        bytes.append(char(b));
        if ((b & 0x0F) == 0x0F)
            bytes.append("\r\n");
    }
    return bytes;
}

// Acts on the Save Modified Documents dialog once its modal loop runs.
void WhenDialogShows(std::function<void(CSaveModifiedDlg&)> act)
{
    auto* pTimer = new QTimer(qApp);
    QObject::connect(pTimer, &QTimer::timeout, [pTimer, act] {
        if (auto* pDialog = qobject_cast<CSaveModifiedDlg*>(QApplication::activeModalWidget())) {
            pTimer->stop();
            pTimer->deleteLater();
            act(*pDialog);
        }
    });
    pTimer->start(0);
}

QPushButton* Button(const QDialog& dialog, const QString& sText)
{
    for (QPushButton* pButton : dialog.findChildren<QPushButton*>())
        if (pButton->text() == sText)
            return pButton;
    return nullptr;
}

void ClickEntry(QListWidget* pList, int nRow)
{
    QTest::mouseClick(pList->viewport(), Qt::LeftButton, {}, pList->visualItemRect(pList->item(nRow)).center());
}

}  // namespace

class TestDocuments : public QObject
{
    Q_OBJECT

private slots:
    void untitledTitleThroughSave_data();
    void untitledTitleThroughSave();
    void newDocumentHeader_data();
    void newDocumentHeader();
    void openedFileGetsTypeCodeAndNoHeader_data();
    void openedFileGetsTypeCodeAndNoHeader();
    void openFileIsActivatedNotOpenedTwice();
    void closingModifiedDocument_data();
    void closingModifiedDocument();
    void askedDocumentIsListedWithoutMark_data();
    void askedDocumentIsListedWithoutMark();
    void quitAsksForEveryModifiedDocument_data();
    void quitAsksForEveryModifiedDocument();
    void saveAllSavesModifiedOnlyAndGoesOnAfterFailure();
    void savedBytesKeepTheFileEncoding_data();
    void savedBytesKeepTheFileEncoding();
    void failedSaveKeepsDocumentModified_data();
    void failedSaveKeepsDocumentModified();
    void unopenableFileMakesNoDocument_data();
    void unopenableFileMakesNoDocument();
    void recentFilesGainOpenedAndLoseDeleted();
    void documentCommandsNeedADocument();
    void mainTitleFollowsActiveDocument_data();
    void mainTitleFollowsActiveDocument();
    void restoredWindowEndsMaximising();
    void saveModifiedDialogLooks();
    void saveModifiedDialogAnswers_data();
    void saveModifiedDialogAnswers();
    void saveModifiedDialogSelectionAfterDeselecting();
    void widgetPrompterHandsBackTheAnswer_data();
    void widgetPrompterHandsBackTheAnswer();
};

void TestDocuments::untitledTitleThroughSave_data()
{
    QTest::addColumn<int>("showExt");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("answer");  // file name chosen; empty: dialog cancelled
    QTest::addColumn<QString>("fresh");
    QTest::addColumn<QString>("proposed");
    QTest::addColumn<QString>("after");
    QTest::newRow("hidden extensions, saved as ambush.sqs") << 0 << kSaveAs << "ambush.sqs"
                                                            << "Script"
                                                            << "Script"
                                                            << "ambush";
    QTest::newRow("hidden extensions, name typed without extension gets .sqs") << 0 << kSaveAs << "ambush"
                                                                               << "Script"
                                                                               << "Script"
                                                                               << "ambush";
    QTest::newRow("hidden extensions, cancelled") << 0 << kSaveAs << ""
                                                  << "Script"
                                                  << "Script"
                                                  << "Script*";
    QTest::newRow("shown extensions, saved") << 1 << kSaveAs << "ambush.sqs"
                                             << "Script.sqs"
                                             << "Script"
                                             << "ambush.sqs";
    QTest::newRow("shown extensions, cancelled keeps extension and mark") << 1 << kSaveAs << ""
                                                                          << "Script.sqs"
                                                                          << "Script"
                                                                          << "Script.sqs*";
    QTest::newRow("Save on an untitled document asks like Save As") << 1 << kSave << "ambush"
                                                                    << "Script.sqs"
                                                                    << "Script"
                                                                    << "ambush.sqs";
}

void TestDocuments::untitledTitleThroughSave()
{
    QFETCH(int, showExt);
    QFETCH(QString, command);
    QFETCH(QString, answer);
    QFETCH(QString, fresh);
    QFETCH(QString, proposed);
    QFETCH(QString, after);
    QTemporaryDir dir;
    CMemorySettingsStore seed = DocumentSeed({{"ShowExt", showExt}});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    start.App().Documents().NewDocument(EDocKind::Script);
    CScriptDoc* pDoc = start.App().MainFrame()->ActiveDocument();
    QVERIFY(pDoc);
    QCOMPARE(pDoc->Frame()->windowTitle(), fresh);
    QCOMPARE(MainTitle(start), QStringLiteral("Velk Edit - ") + fresh);

    Type(pDoc, QStringLiteral("hint \"go\""));
    QCOMPARE(pDoc->Frame()->windowTitle(), fresh + QLatin1Char('*'));
    QCOMPARE(MainTitle(start), QStringLiteral("Velk Edit - ") + fresh + QLatin1Char('*'));

    if (!answer.isEmpty())
        start.Prompter().m_saveNames = {dir.filePath(answer)};
    QVERIFY(Trigger(start, command));
    QCOMPARE(start.Prompter().m_proposedNames, QStringList{proposed});
    QCOMPARE(pDoc->GetTitle(), after);
    QCOMPARE(pDoc->Frame()->windowTitle(), after);
    QCOMPARE(MainTitle(start), QStringLiteral("Velk Edit - ") + after);
    const QString sFile = dir.filePath(QStringLiteral("ambush.sqs"));
    if (answer.isEmpty()) {
        QVERIFY(pDoc->IsModified());
        QVERIFY(pDoc->GetPathName().isEmpty());
        QVERIFY(QDir(dir.path()).isEmpty());
    } else {
        QVERIFY(!pDoc->IsModified());
        QCOMPARE(pDoc->GetPathName(), sFile);
        QCOMPARE(ReadFile(sFile), QByteArray("hint \"go\""));
    }
    QVERIFY(start.Prompter().m_messages.isEmpty());
    QuitDiscarding(start);
}

void TestDocuments::newDocumentHeader_data()
{
    QTest::addColumn<EDocKind>("kind");
    QTest::addColumn<int>("addHeader");
    QTest::addColumn<int>("velk");
    QTest::addColumn<QByteArray>("saved");
    QTest::newRow("Description, second game, author, blank line")
        << EDocKind::Description << 1 << 1 << QByteArray("// Velk Vanguard mission by Mapper\r\n\r\n\r\n");
    QTest::newRow("Description, first game")
        << EDocKind::Description << 1 << 0 << QByteArray("// Qonmar Front mission by Mapper\r\n\r\n\r\n");
    QTest::newRow("no header while AddHeader is off") << EDocKind::Description << 0 << 1 << QByteArray();
    QTest::newRow("Script takes its own section") << EDocKind::Script << 1 << 1 << QByteArray("; script\r\n\r\n");
    QTest::newRow("Function") << EDocKind::Function << 1 << 1 << QByteArray("// function\r\n\r\n");
    QTest::newRow("Briefing") << EDocKind::Briefing << 1 << 1 << QByteArray("<!-- page -->\r\n\r\n");
    QTest::newRow("StringTable") << EDocKind::StringTable << 1 << 1 << QByteArray("LANGUAGE,\"English\"\r\n\r\n");
    QTest::newRow("Text") << EDocKind::Text << 1 << 1 << QByteArray("notes\r\n\r\n");
}

void TestDocuments::newDocumentHeader()
{
    QFETCH(EDocKind, kind);
    QFETCH(int, addHeader);
    QFETCH(int, velk);
    QFETCH(QByteArray, saved);
    QTemporaryDir dir;
    CMemorySettingsStore seed
        = DocumentSeed({{"AddHeader", addHeader}, {"Velk", velk}, {"Author", QStringLiteral("Mapper")}});
    CStart start({}, &seed);
    WriteFile(QDir(start.ExeDir()).filePath(QStringLiteral("header.dat")),
              "[SCRIPT]\n; script\n\n[FUNCTION]\n// function\n\n"
              "[DESCRIPTION]\n// [GAME STRING] mission by [AUTHOR STRING]\n[BLANK LINE]\n\n"
              "[HTML]\n<!-- page -->\n\n[STRING TABLE]\nLANGUAGE,\"English\"\n\n[TEXT]\nnotes\n");
    QVERIFY(start.App().InitInstance());
    start.App().Documents().NewDocument(kind);
    CScriptDoc* pDoc = start.App().MainFrame()->ActiveDocument();
    QVERIFY(pDoc);
    const QString sName = TemplateField(DocType(kind), EDocField::FileNewName);
    // The header is where the document starts: not a change, not a step to undo.
    QVERIFY(!pDoc->IsModified());
    QCOMPARE(pDoc->GetTitle(), sName);
    const QString sText = pDoc->TextDocument()->toPlainText();
    QVERIFY(!View(pDoc)->CanUndo());
    View(pDoc)->OnEditUndo();
    QCOMPARE(pDoc->TextDocument()->toPlainText(), sText);
    QVERIFY(!pDoc->IsModified());

    start.Prompter().m_saveNames = {dir.filePath(QStringLiteral("new"))};
    QVERIFY(Trigger(start, kSaveAs));
    QCOMPARE(ReadFile(pDoc->GetPathName()), saved);
    Type(pDoc, QStringLiteral("x"));
    QVERIFY(View(pDoc)->CanUndo());  // typing is undoable, so the check above can tell
    QuitDiscarding(start);
}

void TestDocuments::openedFileGetsTypeCodeAndNoHeader_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<EDocKind>("kind");
    QTest::addColumn<EFileType>("code");
    QTest::addColumn<QString>("title");
    QTest::newRow("existing .sqs") << "init.sqs" << QByteArray("hint \"x\"\r\n") << EDocKind::Script << kFileSQS
                                   << "init";
    QTest::newRow("empty existing .sqs") << "empty.sqs" << QByteArray() << EDocKind::Script << kFileSQS << "empty";
    QTest::newRow("upper-case .HTM") << "OVERVIEW.HTM" << QByteArray("<html>\r\n") << EDocKind::Script << kFileHTML
                                     << "OVERVIEW";
    QTest::newRow("upper-case .SQF") << "FN.SQF" << QByteArray("_a = 1;\r\n") << EDocKind::Function << kFileSQF << "FN";
    QTest::newRow(".dat data file") << "unit.dat" << QByteArray("[UNITS]\r\n") << EDocKind::Script << kFileDAT
                                    << "unit";
    QTest::newRow("no extension opens as Text with code 6")
        << "README" << QByteArray() << EDocKind::Text << kFileTXT << "README";
    QTest::newRow(".txt") << "notes.txt" << QByteArray("n\r\n") << EDocKind::Text << kFileTXT << "notes";
}

void TestDocuments::openedFileGetsTypeCodeAndNoHeader()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(EDocKind, kind);
    QFETCH(EFileType, code);
    QFETCH(QString, title);
    QTemporaryDir dir;
    const QString sPath = dir.filePath(name);
    WriteFile(sPath, content);
    CMemorySettingsStore seed = DocumentSeed({{"AddHeader", 1}});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    start.Prompter().m_openNames = {sPath};
    QVERIFY(Trigger(start, kOpen));
    CScriptDoc* pDoc = start.App().Documents().FindDocument(sPath);
    QVERIFY(pDoc);
    QCOMPARE(pDoc->Template().Type().eKind, kind);
    QCOMPARE(View(pDoc)->FileType(), code);
    QVERIFY(!pDoc->GetPathName().isEmpty());
    QCOMPARE(pDoc->TextDocument()->toPlainText(), QString::fromLatin1(content).remove(QLatin1Char('\r')));
    QVERIFY(!pDoc->IsModified());
    QCOMPARE(pDoc->Frame()->windowTitle(), title);
    start.CloseAndKeepStore();
}

void TestDocuments::openFileIsActivatedNotOpenedTwice()
{
    QTemporaryDir dir;
    QVERIFY(QDir().mkdir(dir.filePath(QStringLiteral("sub"))));
    const QString sA = dir.filePath(QStringLiteral("a.sqs"));
    const QString sB = dir.filePath(QStringLiteral("b.sqs"));
    WriteFile(sA, "a\r\n");
    WriteFile(sB, "b\r\n");
    CMemorySettingsStore seed = DocumentSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pA = start.App().OpenDocumentFile(sA);
    Type(pA, QStringLiteral("kept "));
    CScriptDoc* pB = start.App().OpenDocumentFile(sB);
    QVERIFY(pA && pB && pA != pB);
    QCOMPARE(start.App().MainFrame()->ActiveDocument(), pB);

    start.Prompter().m_openNames = {sA};
    QVERIFY(Trigger(start, kOpen));
    QCOMPARE(start.App().MainFrame()->ActiveDocument(), pA);
    QCOMPARE(start.App().OpenDocumentFile(dir.filePath(QStringLiteral("sub/../b.sqs"))), pB);
    QCOMPARE(start.App().MainFrame()->ActiveDocument(), pB);
    QCOMPARE(start.App().Documents().AllDocuments().size(), 2);
    QCOMPARE(start.App().MainFrame()->MdiArea()->subWindowList().size(), 2);
    // Re-opening must not read the file again over the unsaved edit.
    QCOMPARE(pA->TextDocument()->toPlainText(), QStringLiteral("kept a\n"));
    QVERIFY(pA->IsModified());
    QuitDiscarding(start);
}

void TestDocuments::closingModifiedDocument_data()
{
    QTest::addColumn<bool>("untitled");
    QTest::addColumn<bool>("modify");
    QTest::addColumn<EAnswer>("answer");
    QTest::addColumn<bool>("keepSelected");
    QTest::addColumn<bool>("folderGone");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<QByteArray>("onDisk");
    const QByteArray old("old\r\n");
    const QByteArray edited("new old\r\n");
    QTest::newRow("unmodified closes without asking")
        << false << false << EAnswer::Cancel << true << false << true << old;
    QTest::newRow("No discards the changes") << false << true << EAnswer::No << true << false << true << old;
    QTest::newRow("Cancel keeps the window and its mark")
        << false << true << EAnswer::Cancel << true << false << false << old;
    QTest::newRow("deselected then Yes keeps the window and its mark")
        << false << true << EAnswer::Yes << false << false << false << old;
    QTest::newRow("Yes saves, then closes") << false << true << EAnswer::Yes << true << false << true << edited;
    QTest::newRow("Yes with a failing save keeps the window")
        << false << true << EAnswer::Yes << true << true << false << QByteArray();
    QTest::newRow("Yes on untitled with save dialog cancelled keeps the window")
        << true << true << EAnswer::Yes << true << false << false << QByteArray();
}

void TestDocuments::closingModifiedDocument()
{
    QFETCH(bool, untitled);
    QFETCH(bool, modify);
    QFETCH(EAnswer, answer);
    QFETCH(bool, keepSelected);
    QFETCH(bool, folderGone);
    QFETCH(bool, closed);
    QFETCH(QByteArray, onDisk);
    QTemporaryDir dir;
    const QString sFolder = dir.filePath(QStringLiteral("op"));
    QVERIFY(QDir().mkdir(sFolder));
    const QString sPath = QDir(sFolder).filePath(QStringLiteral("init.sqs"));
    WriteFile(sPath, "old\r\n");
    CMemorySettingsStore seed = DocumentSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    if (untitled)
        start.App().Documents().NewDocument(EDocKind::Script);
    else
        start.App().OpenDocumentFile(sPath);
    CScriptDoc* pDoc = start.App().MainFrame()->ActiveDocument();
    QVERIFY(pDoc);
    const QString sTitle = untitled ? QStringLiteral("Script") : QStringLiteral("init");
    if (modify)
        Type(pDoc, QStringLiteral("new "));
    if (folderGone)
        QVERIFY(QDir(sFolder).removeRecursively());
    start.Prompter().m_saveModifiedAnswers = {{answer, {keepSelected}}};
    QPointer<CChildFrame> pFrame = pDoc->Frame();

    QVERIFY(Trigger(start, kClose));
    if (modify)
        QCOMPARE(start.Prompter().m_saveModifiedLists,
                 QList<QStringList>{{untitled ? QStringLiteral("Script") : QStringLiteral("init.sqs")}});
    else
        QVERIFY(start.Prompter().m_saveModifiedLists.isEmpty());
    QCOMPARE(start.Prompter().m_messages.size(), folderGone ? 1 : 0);
    if (closed) {
        QVERIFY(start.App().Documents().AllDocuments().isEmpty());
        QTRY_VERIFY(pFrame.isNull());
        QVERIFY(start.App().MainFrame()->MdiArea()->subWindowList().isEmpty());
        QCOMPARE(MainTitle(start), QStringLiteral("Velk Edit"));
    } else {
        QVERIFY(pFrame);
        QCOMPARE(start.App().Documents().AllDocuments(), QList<CScriptDoc*>{pDoc});
        QVERIFY(pDoc->IsModified());
        QCOMPARE(pFrame->windowTitle(), sTitle + QLatin1Char('*'));
        QCOMPARE(MainTitle(start), QStringLiteral("Velk Edit - ") + sTitle + QLatin1Char('*'));
    }
    if (!untitled)
        QCOMPARE(ReadFile(sPath), onDisk);
    QuitDiscarding(start);
}

void TestDocuments::askedDocumentIsListedWithoutMark_data()
{
    QTest::addColumn<int>("showExt");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QString>("listed");
    QTest::newRow("untitled, hidden extensions") << 0 << false << "Script";
    QTest::newRow("untitled, shown extensions") << 1 << false << "Script.sqs";
    QTest::newRow("saved file with hidden extensions by its file name") << 0 << true << "ambush.sqs";
    QTest::newRow("saved file with shown extensions by its file name") << 1 << true << "ambush.sqs";
}

void TestDocuments::askedDocumentIsListedWithoutMark()
{
    QFETCH(int, showExt);
    QFETCH(bool, saved);
    QFETCH(QString, listed);
    QTemporaryDir dir;
    CMemorySettingsStore seed = DocumentSeed({{"ShowExt", showExt}});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    start.App().Documents().NewDocument(EDocKind::Script);
    CScriptDoc* pDoc = start.App().MainFrame()->ActiveDocument();
    if (saved) {
        start.Prompter().m_saveNames = {dir.filePath(QStringLiteral("ambush.sqs"))};
        QVERIFY(Trigger(start, kSave));
    }
    Type(pDoc, QStringLiteral("x"));
    const QString sMarked = pDoc->GetTitle();
    QVERIFY(sMarked.endsWith(QLatin1Char('*')));
    QVERIFY(Trigger(start, kClose));                     // answered Cancel
    QVERIFY(start.App().MainFrame()->close() == false);  // answered Cancel again
    QCOMPARE(start.Prompter().m_saveModifiedLists, (QList<QStringList>{{listed}, {listed}}));
    QCOMPARE(pDoc->GetTitle(), sMarked);
    QuitDiscarding(start);
}

void TestDocuments::quitAsksForEveryModifiedDocument_data()
{
    QTest::addColumn<EAnswer>("answer");
    QTest::addColumn<QList<bool>>("selected");  // init.sqs, notes.txt
    QTest::addColumn<bool>("scriptFolderGone");
    QTest::addColumn<bool>("quits");
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QByteArray>("text");
    const QByteArray script("init\r\n");
    const QByteArray text("notes\r\n");
    QTest::newRow("Yes saves only the selected one and quits")
        << EAnswer::Yes << QList<bool>{false, true} << false << true << script << QByteArray("x notes\r\n");
    QTest::newRow("No quits without saving") << EAnswer::No << QList<bool>{} << false << true << script << text;
    QTest::newRow("Cancel keeps everything") << EAnswer::Cancel << QList<bool>{} << false << false << script << text;
    QTest::newRow("a failed save keeps the editor open, the next is still saved")
        << EAnswer::Yes << QList<bool>{} << true << false << QByteArray() << QByteArray("x notes\r\n");
}

void TestDocuments::quitAsksForEveryModifiedDocument()
{
    QFETCH(EAnswer, answer);
    QFETCH(QList<bool>, selected);
    QFETCH(bool, scriptFolderGone);
    QFETCH(bool, quits);
    QFETCH(QByteArray, script);
    QFETCH(QByteArray, text);
    QTemporaryDir dir;
    QVERIFY(QDir().mkdir(dir.filePath(QStringLiteral("op"))));
    const QString sScript = dir.filePath(QStringLiteral("op/init.sqs"));
    const QString sText = dir.filePath(QStringLiteral("notes.txt"));
    WriteFile(sScript, "init\r\n");
    WriteFile(sText, "notes\r\n");
    CMemorySettingsStore seed = DocumentSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    // Opened text first: the list still goes in template order.
    CScriptDoc* pText = start.App().OpenDocumentFile(sText);
    CScriptDoc* pScript = start.App().OpenDocumentFile(sScript);
    Type(pText, QStringLiteral("x "));
    Type(pScript, QStringLiteral("x "));
    start.App().OpenDocumentFile(dir.filePath(QStringLiteral("op/../notes.txt")));  // unmodified ones are not asked
    if (scriptFolderGone)
        QVERIFY(QDir(dir.filePath(QStringLiteral("op"))).removeRecursively());
    start.Store().ClearWriteLog();
    start.Prompter().m_saveModifiedAnswers = {{answer, selected}};

    CMainFrame* pMain = start.App().MainFrame();
    QCOMPARE(pMain->close(), quits);
    QCOMPARE(start.Prompter().m_saveModifiedLists,
             (QList<QStringList>{{QStringLiteral("init.sqs"), QStringLiteral("notes.txt")}}));
    QCOMPARE(ReadFile(sText), text);
    if (!scriptFolderGone)
        QCOMPARE(ReadFile(sScript), script);
    QCOMPARE(start.Prompter().m_messages.size(), scriptFolderGone ? 1 : 0);
    // The settings go to the store before the question, whatever the answer.
    QCOMPARE(start.Store().ReadString(kSettingsSection, QStringLiteral("StartFile"), QString()), sText);
    QVERIFY(start.Store().WriteLog().contains(QStringLiteral("Settings/ShowExt")));
    QCOMPARE(pMain->isVisible(), !quits);
    if (quits) {
        QVERIFY(start.App().Documents().AllDocuments().isEmpty());
        return;
    }
    QCOMPARE(start.App().Documents().AllDocuments().size(), 2);
    QCOMPARE(pScript->Frame()->windowTitle(), QStringLiteral("init*"));
    QCOMPARE(pText->Frame()->windowTitle(),
             answer == EAnswer::Yes ? QStringLiteral("notes") : QStringLiteral("notes*"));
    QuitDiscarding(start);
}

void TestDocuments::saveAllSavesModifiedOnlyAndGoesOnAfterFailure()
{
    QTemporaryDir dir;
    QVERIFY(QDir().mkdir(dir.filePath(QStringLiteral("gone"))));
    const QString sGone = dir.filePath(QStringLiteral("gone/a.sqs"));
    const QString sClean = dir.filePath(QStringLiteral("clean.sqs"));
    const QString sGood = dir.filePath(QStringLiteral("good.txt"));
    WriteFile(sGone, "a\r\n");
    WriteFile(sClean, "lf only\n");  // a save would turn it into CR LF
    WriteFile(sGood, "g\r\n");
    CMemorySettingsStore seed = DocumentSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pGone = start.App().OpenDocumentFile(sGone);
    start.App().OpenDocumentFile(sClean);
    start.App().Documents().NewDocument(EDocKind::Script);
    CScriptDoc* pUntitled = start.App().MainFrame()->ActiveDocument();
    CScriptDoc* pGood = start.App().OpenDocumentFile(sGood);
    Type(pGone, QStringLiteral("x"));
    Type(pUntitled, QStringLiteral("x"));
    Type(pGood, QStringLiteral("x"));
    QVERIFY(QDir(dir.filePath(QStringLiteral("gone"))).removeRecursively());

    QVERIFY(Trigger(start, kSaveAll));
    QCOMPARE(start.Prompter().m_messages.size(), 1);
    QCOMPARE(start.Prompter().m_proposedNames, QStringList{QStringLiteral("Script")});  // cancelled
    QCOMPARE(ReadFile(sClean), QByteArray("lf only\n"));
    QCOMPARE(ReadFile(sGood), QByteArray("xg\r\n"));
    QCOMPARE(pGone->Frame()->windowTitle(), QStringLiteral("a*"));
    QCOMPARE(pUntitled->Frame()->windowTitle(), QStringLiteral("Script*"));
    QCOMPARE(pGood->Frame()->windowTitle(), QStringLiteral("good"));
    QVERIFY(start.Prompter().m_saveModifiedLists.isEmpty());
    QuitDiscarding(start);
}

void TestDocuments::savedBytesKeepTheFileEncoding_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("saved");
    QTest::addColumn<ETextEncoding>("encoding");
    QTest::addColumn<int>("messages");
    QTest::newRow("every Windows-1252 byte survives unchanged")
        << EveryHighByte() << "" << EveryHighByte() << ETextEncoding::Cp1252 << 0;
    QTest::newRow("UTF-8 with non-ASCII stays UTF-8") << QByteArray("; Br\xC3\xBC"
                                                                    "cke \xE2\x80\x93 \xE2\x82\xAC\r\n")
                                                      << "ä"
                                                      << QByteArray("\xC3\xA4; Br\xC3\xBC"
                                                                    "cke \xE2\x80\x93 \xE2\x82\xAC\r\n")
                                                      << ETextEncoding::Utf8 << 0;
    QTest::newRow("LF-only lines stay LF")
        << QByteArray("a\nb\n\nc") << "" << QByteArray("a\nb\n\nc") << ETextEncoding::Cp1252 << 0;
    QTest::newRow("character outside the code page switches to UTF-8 and says so")
        << QByteArray("Br\xFC\r\n") << "Ω " << QByteArray("\xCE\xA9 Br\xC3\xBC\r\n") << ETextEncoding::Utf8 << 1;
}

void TestDocuments::savedBytesKeepTheFileEncoding()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, typed);
    QFETCH(QByteArray, saved);
    QFETCH(ETextEncoding, encoding);
    QFETCH(int, messages);
    QTemporaryDir dir;
    const QString sPath = dir.filePath(QStringLiteral("brücke.sqs"));
    WriteFile(sPath, content);
    CMemorySettingsStore seed = DocumentSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = start.App().OpenDocumentFile(sPath);
    QVERIFY(pDoc);
    Type(pDoc, typed);
    QVERIFY(Trigger(start, kSave));
    QCOMPARE(start.Prompter().m_messages.size(), messages);
    if (messages)
        QVERIFY(start.Prompter().m_messages.first().contains(QStringLiteral("UTF-8")));
    QCOMPARE(pDoc->Encoding(), encoding);
    QVERIFY(!pDoc->IsModified());
    const QByteArray written = ReadFile(sPath);
    qsizetype nAt = 0;
    while (nAt < written.size() && nAt < saved.size() && written[nAt] == saved[nAt])
        ++nAt;
    QVERIFY2(written == saved,
             qPrintable(QStringLiteral("offset %1: 0x%2 written for 0x%3")
                            .arg(nAt)
                            .arg(nAt < written.size() ? uchar(written[nAt]) : 0, 2, 16, QLatin1Char('0'))
                            .arg(nAt < saved.size() ? uchar(saved[nAt]) : 0, 2, 16, QLatin1Char('0'))));
    start.CloseAndKeepStore();
}

void TestDocuments::failedSaveKeepsDocumentModified_data()
{
    QTest::addColumn<bool>("opened");
    QTest::addColumn<bool>("folderGone");  // else: Save As onto a folder
    QTest::addColumn<QString>("title");
    QTest::newRow("untitled, Save As onto a folder") << false << false << "Script*";
    QTest::newRow("opened, Save As onto a folder keeps the old name") << true << false << "init*";
    QTest::newRow("opened, folder of the file vanished") << true << true << "init*";
}

void TestDocuments::failedSaveKeepsDocumentModified()
{
    QFETCH(bool, opened);
    QFETCH(bool, folderGone);
    QFETCH(QString, title);
    QTemporaryDir dir;
    const QString sFolder = dir.filePath(QStringLiteral("op"));
    QVERIFY(QDir().mkdir(sFolder));
    const QString sPath = QDir(sFolder).filePath(QStringLiteral("init.sqs"));
    const QString sTaken = dir.filePath(QStringLiteral("taken.sqs"));
    QVERIFY(QDir().mkdir(sTaken));
    WriteFile(sPath, "init\r\n");
    CMemorySettingsStore seed = DocumentSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    if (opened)
        start.App().OpenDocumentFile(sPath);
    else
        start.App().Documents().NewDocument(EDocKind::Script);
    CScriptDoc* pDoc = start.App().MainFrame()->ActiveDocument();
    QVERIFY(pDoc);
    Type(pDoc, QStringLiteral("x"));
    if (folderGone) {
        QVERIFY(QDir(sFolder).removeRecursively());
        QVERIFY(Trigger(start, kSave));
    } else {
        start.Prompter().m_saveNames = {sTaken};
        QVERIFY(Trigger(start, kSaveAs));
    }
    QCOMPARE(start.Prompter().m_messages.size(), 1);
    QVERIFY(pDoc->IsModified());
    QCOMPARE(pDoc->Frame()->windowTitle(), title);
    QCOMPARE(MainTitle(start), QStringLiteral("Velk Edit - ") + title);
    QVERIFY(QFileInfo(sTaken).isDir());
    QCOMPARE(pDoc->GetPathName(), opened ? sPath : QString());
    if (!folderGone)
        QCOMPARE(ReadFile(sPath), QByteArray("init\r\n"));
    QuitDiscarding(start);
}

void TestDocuments::unopenableFileMakesNoDocument_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("file with NUL bytes") << "nul";
    QTest::newRow("missing file") << "missing";
    QTest::newRow("folder named like a script") << "folder";
}

void TestDocuments::unopenableFileMakesNoDocument()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    const QString sPath = dir.filePath(QStringLiteral("bad.sqs"));
    if (kind == QLatin1String("nul"))
        WriteFile(sPath, QByteArray("hint\0\0\x01", 7));
    else if (kind == QLatin1String("folder"))
        QVERIFY(QDir().mkdir(sPath));
    CMemorySettingsStore seed = DocumentSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    start.Prompter().m_openNames = {sPath};
    QVERIFY(Trigger(start, kOpen));
    QCOMPARE(start.Prompter().m_messages.size(), 1);
    QVERIFY(start.Prompter().m_messages.first().contains(sPath));
    QVERIFY(start.App().Documents().AllDocuments().isEmpty());
    QVERIFY(start.App().MainFrame()->MdiArea()->subWindowList().isEmpty());
    QCOMPARE(start.App().RecentFiles()->Count(), 0);
    QCOMPARE(MainTitle(start), QStringLiteral("Velk Edit"));
    start.CloseAndKeepStore();
}

void TestDocuments::recentFilesGainOpenedAndLoseDeleted()
{
    QTemporaryDir dir;
    const QString sA = dir.filePath(QStringLiteral("a.sqs"));
    const QString sB = dir.filePath(QStringLiteral("b.sqf"));
    WriteFile(sA, "a\r\n");
    WriteFile(sB, "b\r\n");
    CMemorySettingsStore seed = DocumentSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    start.Prompter().m_openNames = {sA, sB};
    QVERIFY(Trigger(start, kOpen));
    QVERIFY(Trigger(start, kOpen));
    QCOMPARE(start.App().RecentFiles()->GetAt(0), sB);
    QCOMPARE(start.App().RecentFiles()->GetAt(1), sA);
    QVERIFY(Trigger(start, kClose));
    QVERIFY(Trigger(start, kClose));
    QVERIFY(start.App().Documents().AllDocuments().isEmpty());

    QVERIFY(QFile::remove(sA));
    start.App().Documents().OpenRecentFile(1);
    QCOMPARE(start.Prompter().m_messages.size(), 1);
    QVERIFY(start.App().Documents().AllDocuments().isEmpty());
    QCOMPARE(start.App().RecentFiles()->Count(), 1);
    QCOMPARE(start.App().RecentFiles()->GetAt(0), sB);
    QVERIFY(!start.Store().Contains(CRecentFileList::kSection, QStringLiteral("File2")));

    start.App().Documents().OpenRecentFile(0);
    QVERIFY(start.App().Documents().FindDocument(sB));
    QCOMPARE(start.App().RecentFiles()->Count(), 1);
    start.CloseAndKeepStore();
}

void TestDocuments::documentCommandsNeedADocument()
{
    CMemorySettingsStore seed = DocumentSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CMainFrame* pMain = start.App().MainFrame();
    const QStringList documentCommands = {kSave, kSaveAs, kSaveAll, kClose};
    auto enabled = [&](const QString& sCommand) {
        QAction* pAction = MenuCommand(pMain, sCommand);
        return pAction && pAction->isEnabled();
    };
    QVERIFY(enabled(kOpen));
    for (const QString& sCommand : documentCommands)
        QVERIFY2(!enabled(sCommand), qPrintable(sCommand));

    start.App().Documents().NewDocument(EDocKind::Text);
    for (const QString& sCommand : documentCommands)
        QVERIFY2(enabled(sCommand), qPrintable(sCommand));

    QVERIFY(Trigger(start, kClose));
    for (const QString& sCommand : documentCommands)
        QTRY_VERIFY2(!enabled(sCommand), qPrintable(sCommand));
    QCOMPARE(MainTitle(start), QStringLiteral("Velk Edit"));
    start.CloseAndKeepStore();
}

void TestDocuments::mainTitleFollowsActiveDocument_data()
{
    QTest::addColumn<int>("docMax");
    QTest::newRow("restored document windows") << 0;
    QTest::newRow("maximised document windows") << 1;
}

void TestDocuments::mainTitleFollowsActiveDocument()
{
    QFETCH(int, docMax);
    // A maximised window shows its title in brackets, the usual way of
    // windows inside a main window; a restored one is named plainly.
    auto caption = [docMax](const char* pszTitle) {
        return docMax ? QStringLiteral("Velk Edit - [%1]").arg(QLatin1String(pszTitle))
                      : QStringLiteral("Velk Edit - %1").arg(QLatin1String(pszTitle));
    };
    QTemporaryDir dir;
    const QString sPath = dir.filePath(QStringLiteral("init.sqs"));
    WriteFile(sPath, "x\r\n");
    CMemorySettingsStore seed = DocumentSeed({{"DocMax", docMax}});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    QCOMPARE(MainTitle(start), QStringLiteral("Velk Edit"));
    start.App().Documents().NewDocument(EDocKind::Briefing);
    CScriptDoc* pNew = start.App().MainFrame()->ActiveDocument();
    QCOMPARE(MainTitle(start), caption("Briefing"));
    // A restored window opens at a size one can work in.
    const QSize area = start.App().MainFrame()->MdiArea()->viewport()->size();
    if (!docMax)
        QVERIFY(pNew->Frame()->width() >= area.width() / 2 && pNew->Frame()->height() >= area.height() / 2);
    CScriptDoc* pOpened = start.App().OpenDocumentFile(sPath);
    QCOMPARE(pOpened->Frame()->isMaximized(), docMax != 0);
    QCOMPARE(pNew->Frame()->windowTitle(), QStringLiteral("Briefing"));
    QCOMPARE(pOpened->Frame()->windowTitle(), QStringLiteral("init"));
    QCOMPARE(MainTitle(start), caption("init"));
    Type(pOpened, QStringLiteral("y"));
    QCOMPARE(MainTitle(start), caption("init*"));
    start.App().MainFrame()->MdiArea()->setActiveSubWindow(pNew->Frame());
    QCOMPARE(MainTitle(start), caption("Briefing"));
    // A title change of a window behind the active one leaves the caption alone.
    pOpened->SetModifiedFlag(false);
    QCOMPARE(pOpened->Frame()->windowTitle(), QStringLiteral("init"));
    QCOMPARE(MainTitle(start), caption("Briefing"));
    QuitDiscarding(start);
}

void TestDocuments::restoredWindowEndsMaximising()
{
    CMemorySettingsStore seed = DocumentSeed({{"DocMax", 1}});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    start.App().Documents().NewDocument(EDocKind::Script);
    CScriptDoc* pFirst = start.App().MainFrame()->ActiveDocument();
    QVERIFY(pFirst->Frame()->isMaximized());
    start.App().Documents().NewDocument(EDocKind::Script);
    CScriptDoc* pSecond = start.App().MainFrame()->ActiveDocument();
    QVERIFY(pSecond != pFirst);
    QVERIFY(pSecond->Frame()->isMaximized());

    pSecond->Frame()->showNormal();
    start.App().Documents().NewDocument(EDocKind::Text);
    CScriptDoc* pThird = start.App().MainFrame()->ActiveDocument();
    QVERIFY(!pThird->Frame()->isMaximized());
    QCOMPARE(start.App().Settings().m_bDocMax, 0);
    const CMemorySettingsStore store = start.CloseAndKeepStore();
    QCOMPARE(store.ReadInt(kSettingsSection, QStringLiteral("DocMax"), -1), 0);
}

void TestDocuments::saveModifiedDialogLooks()
{
    CStart start;
    CSaveModifiedDlg dialog({QStringLiteral("init.sqs"), QStringLiteral("Script"), QStringLiteral("notes.txt")});
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Save Modified Documents"));
    const QList<QLabel*> labels = dialog.findChildren<QLabel*>();
    QCOMPARE(labels.size(), 1);
    QCOMPARE(labels.first()->text(), QStringLiteral("&Save changes to the following items?"));
    QCOMPARE(labels.first()->buddy(), dialog.List());
    QCOMPARE(dialog.List()->selectionMode(), QAbstractItemView::MultiSelection);
    QCOMPARE(dialog.List()->count(), 3);
    QCOMPARE(dialog.List()->item(1)->text(), QStringLiteral("Script"));
    QCOMPARE(dialog.Selection(), (QList<bool>{true, true, true}));
    QPushButton* pYes = Button(dialog, QStringLiteral("&Yes"));
    QVERIFY(pYes);
    QVERIFY(pYes->isDefault());
    QVERIFY(Button(dialog, QStringLiteral("&No")));
    QVERIFY(Button(dialog, QStringLiteral("Cancel")));
    QCOMPARE(dialog.findChildren<QPushButton*>().size(), 3);
}

void TestDocuments::saveModifiedDialogAnswers_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("result");
    QTest::newRow("Yes button") << "&Yes" << int(CSaveModifiedDlg::Yes);
    QTest::newRow("No button") << "&No" << int(CSaveModifiedDlg::No);
    QTest::newRow("Cancel button") << "Cancel" << int(CSaveModifiedDlg::Cancel);
    QTest::newRow("Return in the list answers Yes") << "return" << int(CSaveModifiedDlg::Yes);
    QTest::newRow("Escape cancels") << "escape" << int(CSaveModifiedDlg::Cancel);
    QTest::newRow("closing the window cancels") << "close" << int(CSaveModifiedDlg::Cancel);
}

void TestDocuments::saveModifiedDialogAnswers()
{
    QFETCH(QString, how);
    QFETCH(int, result);
    CStart start;
    CSaveModifiedDlg dialog({QStringLiteral("init.sqs")});
    dialog.setResult(-1);
    dialog.show();
    if (how == QLatin1String("return"))
        QTest::keyClick(dialog.List(), Qt::Key_Return);
    else if (how == QLatin1String("escape"))
        QTest::keyClick(dialog.List(), Qt::Key_Escape);
    else if (how == QLatin1String("close"))
        dialog.close();
    else
        QTest::mouseClick(Button(dialog, how), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), result);
}

void TestDocuments::saveModifiedDialogSelectionAfterDeselecting()
{
    CStart start;
    CSaveModifiedDlg dialog({QStringLiteral("a.sqs"), QStringLiteral("b.sqs"), QStringLiteral("c.sqs")});
    dialog.show();
    // A plain click toggles one entry and leaves the others selected.
    ClickEntry(dialog.List(), 1);
    QCOMPARE(dialog.Selection(), (QList<bool>{true, false, true}));
    ClickEntry(dialog.List(), 0);
    QCOMPARE(dialog.Selection(), (QList<bool>{false, false, true}));
    ClickEntry(dialog.List(), 1);
    QCOMPARE(dialog.Selection(), (QList<bool>{false, true, true}));
}

void TestDocuments::widgetPrompterHandsBackTheAnswer_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<EAnswer>("answer");
    QTest::addColumn<QList<bool>>("selected");
    QTest::newRow("Yes with the second deselected") << "&Yes" << EAnswer::Yes << QList<bool>{true, false};
    QTest::newRow("No leaves the selection untouched") << "&No" << EAnswer::No << QList<bool>{};
    QTest::newRow("Cancel") << "Cancel" << EAnswer::Cancel << QList<bool>{};
}

void TestDocuments::widgetPrompterHandsBackTheAnswer()
{
    QFETCH(QString, button);
    QFETCH(EAnswer, answer);
    QFETCH(QList<bool>, selected);
    CStart start;
    CWidgetPrompter prompter([] { return nullptr; });
    QStringList shown;
    WhenDialogShows([&](CSaveModifiedDlg& dialog) {
        for (int i = 0; i < dialog.List()->count(); ++i)
            shown.append(dialog.List()->item(i)->text());
        ClickEntry(dialog.List(), 1);
        QTest::mouseClick(Button(dialog, button), Qt::LeftButton);
    });
    QList<bool> result;
    QCOMPARE(prompter.SaveModified({QStringLiteral("init.sqs"), QStringLiteral("Script")}, &result), answer);
    QCOMPARE(shown, (QStringList{QStringLiteral("init.sqs"), QStringLiteral("Script")}));
    QCOMPARE(result, selected);
}

int main(int argc, char** argv)
{
    // Every test makes its own application object; QtTest only needs the
    // arguments for its own options.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TestDocuments test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_documents.moc"
