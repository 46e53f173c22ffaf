// An editor view on a document of its own with nothing but its context: no
// application object of the editor's, no main window. Whatever the view
// needs and does not get from the context would show here.
#include "core/app/datapaths.h"
#include "core/app/memorysettingsstore.h"
#include "core/app/settings.h"
#include "core/data/dictionary.h"
#include "core/editor/editoroptions.h"
#include "gui/editor/editbuffer.h"
#include "gui/editor/editorcontext.h"
#include "gui/editor/gutter.h"
#include "gui/editor/scriptview.h"
#include "tests/support/editorfixture.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QSignalSpy>
#include <QtTest>

using namespace VelkTest;

namespace {

// The options a first start has, less the typing aids, which add text of
// their own to a keystroke.
SEditorOptions FirstStartOptions()
{
    CSettings settings;
    settings.Read(CMemorySettingsStore(), QSize());
    SEditorOptions options = EditorOptionsOf(settings);
    options.bAutoComplete = false;
    options.bWhiteSpace = false;
    options.bAutoTabs = false;
    return options;
}

// A view built the way a host builds one: a buffer with a file in it, a
// context over the dictionary read from the shipped data files, then the
// first showing.
class CLoneView
{
public:
    CLoneView(EFileType eType, const QString& sText)
    {
        CopyDataFiles(m_dataDir.path());
        m_bLoaded = m_dictionary.LoadDataFiles(CDataPaths::FromAppPath(m_dataDir.path()), true);
        m_context.SetOptions(FirstStartOptions());
        m_buffer.SetFileType(eType);
        m_buffer.Load(sText);
        m_pView = std::make_unique<CScriptView>(m_buffer, m_context);
        m_pView->resize(400, 300);
        m_pView->OnInitialUpdate();
        m_pView->show();
    }

    bool IsReady() const { return m_bLoaded && QTest::qWaitForWindowExposed(m_pView.get()); }
    CScriptView* View() const { return m_pView.get(); }
    CEditBuffer& Buffer() { return m_buffer; }
    CEditorContext& Context() { return m_context; }
    const CDictionary& Dictionary() const { return m_dictionary; }

private:
    QTemporaryDir m_dataDir;
    CDictionary m_dictionary;
    bool m_bLoaded = false;
    CEditorContext m_context{m_dictionary};
    CEditBuffer m_buffer;
    std::unique_ptr<CScriptView> m_pView;
};

// Pixels of the gutter's strip beside a line that something was drawn on.
int DrawnStripPixels(CScriptView* pView, int nLine)
{
    pView->Gutter()->repaint();
    const QImage image = pView->Gutter()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect rcLine = pView->cursorRect(QTextCursor(pView->document()->findBlockByNumber(nLine)));
    int n = 0;
    for (int y = std::max(0, rcLine.top()); y <= rcLine.bottom() && y < image.height(); ++y)
        for (int x = 0; x < CScriptView::kGutterWidth; ++x)
            if (image.pixel(x, y) != pView->Gutter()->StripColour().rgb())
                ++n;
    return n;
}

}  // namespace

class TestViewAlone : public QObject
{
    Q_OBJECT

private slots:
    void typedTextIsColouredAndUndoneKeyByKey();
    void contextMenuIsLeftToTheHost();
    void changedOptionsReachTheView();
};

void TestViewAlone::typedTextIsColouredAndUndoneKeyByKey()
{
    CLoneView alone(kFileSQS, QStringLiteral("; remark\n"));
    QVERIFY(alone.IsReady());
    CScriptView* pView = alone.View();
    QCOMPARE(Classes(pView, 0), QStringLiteral("RRRRRRRR"));
    QVERIFY(!pView->CanUndo());
    QVERIFY(!alone.Buffer().IsModified());

    pView->SetSelection(9, 9);
    QTest::keyClicks(pView, "hint \"M16A2\" _x");
    QCOMPARE(Text(pView), QStringLiteral("; remark\nhint \"M16A2\" _x"));
    QCOMPARE(Classes(pView, 1), QStringLiteral("CCCCTTWWWWWTTVV"));
    QCOMPARE(AllClasses(pView), ExpectedClasses(alone.Dictionary(), Text(pView), kFileSQS));
    QCOMPARE(Steps(pView), 1 + 15);
    QVERIFY(alone.Buffer().IsModified());

    QTest::keyClick(pView, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Text(pView), QStringLiteral("; remark\nhint \"M16A2\" _"));
    QCOMPARE(Classes(pView, 1), QStringLiteral("CCCCTTWWWWWTTV"));
    while (pView->CanUndo())
        pView->OnEditUndo();
    QCOMPARE(Text(pView), QStringLiteral("; remark\n"));
    QCOMPARE(AllClasses(pView), QStringList({QStringLiteral("RRRRRRRR"), QString()}));
    QCOMPARE(pView->Selection(), qMakePair(0, 0));
    QVERIFY(!alone.Buffer().IsModified());
    pView->OnEditRedo();
    QCOMPARE(Text(pView), QStringLiteral("; remark\nh"));
}

void TestViewAlone::contextMenuIsLeftToTheHost()
{
    CLoneView alone(kFileSQS, QStringLiteral("hint\n"));
    QVERIFY(alone.IsReady());
    CScriptView* pView = alone.View();
    QSignalSpy requested(pView, &CScriptView::ContextMenuRequested);
    const QPoint ptLocal(40, 5);
    const QPoint ptGlobal = pView->viewport()->mapToGlobal(ptLocal);
    QContextMenuEvent event(QContextMenuEvent::Mouse, ptLocal, ptGlobal);
    QApplication::sendEvent(pView->viewport(), &event);
    QCOMPARE(requested.count(), 1);
    QCOMPARE(requested.first().first().toPoint(), ptGlobal);
    QCOMPARE(Text(pView), QStringLiteral("hint\n"));
}

void TestViewAlone::changedOptionsReachTheView()
{
    CLoneView alone(kFileSQS, QStringLiteral("hint _x\n"));
    QVERIFY(alone.IsReady());
    CScriptView* pView = alone.View();
    QCOMPARE(Classes(pView, 0), QStringLiteral("CCCCTVV"));
    QVERIFY(!pView->Options().bLineNumbers);
    QCOMPARE(DrawnStripPixels(pView, 0), 0);
    pView->SetSelection(7, 7);
    QTest::keyClicks(pView, "y");
    QVERIFY(pView->CanUndo());

    SEditorOptions options = alone.Context().Options();
    options.bLineNumbers = true;
    options.switches.bFormatCom = false;
    alone.Context().SetOptions(options);
    QVERIFY(pView->Options().bLineNumbers);
    QVERIFY(DrawnStripPixels(pView, 0) > 0);
    QCOMPARE(Classes(pView, 0), QStringLiteral("TTTTTVVV"));
    // Applying options starts the history over and keeps the flag.
    QVERIFY(!pView->CanUndo());
    QVERIFY(alone.Buffer().IsModified());

    QFont font = pView->font();
    font.setPointSize(font.pointSize() + 7);
    alone.Context().SetFont(font);
    QCOMPARE(pView->font().pointSize(), font.pointSize());
}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestViewAlone test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_viewalone.moc"
