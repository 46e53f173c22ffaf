#include "core/app/filetypes.h"
#include "core/controls/fontlist.h"
#include "core/options/optionsform.h"
#include "gui/controls/colorcombo.h"
#include "gui/controls/commands.h"
#include "gui/controls/fontcombo.h"
#include "gui/controls/menutreectrl.h"
#include "gui/editor/editorcontext.h"
#include "gui/options/optionscommands.h"
#include "gui/options/proppage1.h"
#include "gui/options/proppage2.h"
#include "gui/options/proppage3.h"
#include "gui/options/propsheet.h"
#include "gui/options/samplebox.h"
#include "gui/workspace/commanddlg.h"
#include "tests/support/editorfixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>

using namespace VelkTest;

namespace {

template <class T> T* Child(QWidget* pParent, const QString& sText)
{
    for (T* pChild : pParent->findChildren<T*>())
        if (pChild->text() == sText)
            return pChild;
    return nullptr;
}

QPushButton* RestoreButton(QWidget* pPage)
{
    return Child<QPushButton>(pPage, QStringLiteral("Restore Defaults"));
}

// Every entry of the Commands tab, categories and magazines included.
QStringList TreeTexts(CStart& start)
{
    QStringList texts;
    QList<QTreeWidgetItem*> items;
    const CMenuTreeCtrl* pTree = start.App().MainFrame()->CommandBar()->CommandsTree();
    for (int i = 0; i < pTree->topLevelItemCount(); ++i)
        items.append(pTree->topLevelItem(i));
    while (!items.isEmpty()) {
        QTreeWidgetItem* pItem = items.takeFirst();
        texts.append(pItem->text(0));
        for (int i = 0; i < pItem->childCount(); ++i)
            items.append(pItem->child(i));
    }
    return texts;
}

// Runs the Options command with its real sheet shown; work changes what a
// user would and says whether OK (true) or Cancel is pressed.
void RunOptions(CStart& start, const std::function<bool(CPropSheet&)>& work)
{
    CMainFrame* pFrame = start.App().MainFrame();
    auto* pOptions = pFrame->findChild<COptionsCommands*>();
    QVERIFY(pOptions);
    bool bShown = false;
    pOptions->SetSheet([&](const Options::SForm& form) -> std::optional<Options::SForm> {
        bShown = true;
        CPropSheet sheet(form, pFrame);
        sheet.show();
        const bool bOk = work(sheet);
        sheet.Buttons()->button(bOk ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
        if (sheet.result() != QDialog::Accepted)
            return std::nullopt;
        return sheet.Form();
    });
    QAction* pAction = pFrame->Commands().Action(ECommand::Options);
    QVERIFY(pAction->isEnabled());
    pAction->trigger();
    QVERIFY(bShown);
}

// Pixels drawn mostly in one channel of the colour: text in that colour,
// its anti-aliased edges included, and nothing drawn in black or grey.
int TintedPixels(const QImage& image, const QColor& crColour)
{
    int nCount = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor crPixel = image.pixelColor(x, y);
            const int channels[] = {crPixel.red(), crPixel.green(), crPixel.blue()};
            const int wanted[] = {crColour.red(), crColour.green(), crColour.blue()};
            int nMinWanted = 255;
            int nMaxOther = 0;
            for (int c = 0; c < 3; ++c) {
                if (wanted[c] > 0)
                    nMinWanted = qMin(nMinWanted, channels[c]);
                else
                    nMaxOther = qMax(nMaxOther, channels[c]);
            }
            if (nMinWanted - nMaxOther > 60)
                ++nCount;
        }
    }
    return nCount;
}

// Pixels of text drawn in black, the text colour.
int DarkPixels(const QImage& image)
{
    int nCount = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor crPixel = image.pixelColor(x, y);
            if (qMax(crPixel.red(), qMax(crPixel.green(), crPixel.blue())) < 96)
                ++nCount;
        }
    }
    return nCount;
}

// What a page shows the user: texts, buttons, lists and the sample, not the
// parts these are made of.
QList<QWidget*> Controls(QWidget* pPage)
{
    QList<QWidget*> controls;
    for (QWidget* pChild : pPage->findChildren<QWidget*>()) {
        const bool bControl = qobject_cast<QLabel*>(pChild) || qobject_cast<QAbstractButton*>(pChild)
            || qobject_cast<QComboBox*>(pChild) || qobject_cast<QLineEdit*>(pChild)
            || qobject_cast<QListWidget*>(pChild) || qobject_cast<CSampleBox*>(pChild);
        if (bControl && pChild->isVisibleTo(pPage) && !pChild->inherits("QComboBoxPrivateContainer"))
            controls.append(pChild);
    }
    return controls;
}

QImage SampleImage(CPropSheet& sheet)
{
    return sheet.General()->SampleBox()->grab().toImage();
}

}  // namespace

class TestOptions : public QObject
{
    Q_OBJECT

private slots:
    void formatItemFollowsTheSelectedItem_data();
    void formatItemFollowsTheSelectedItem();
    void sampleShowsUnformattedKindsInTheTextColour_data();
    void sampleShowsUnformattedKindsInTheTextColour();
    void gameSwitchReloadsOnlyOnOk_data();
    void gameSwitchReloadsOnlyOnOk();
    void changedFileTypesRegisterAtOnce_data();
    void changedFileTypesRegisterAtOnce();
    void fontIsRemadeOnlyWhenItChanges_data();
    void fontIsRemadeOnlyWhenItChanges();
    void restoreDefaultsOnSettingsKeepsTheAuthor();
    void restoreDefaultsOnGeneralShowsTheDefaults();
    void autoCompleteSwitchedOnBuildsTheList_data();
    void autoCompleteSwitchedOnBuildsTheList();
    void cancelChangesNothing();
    void standInIsNamedAndUsed_data();
    void standInIsNamedAndUsed();
    void pagesShowEveryControlWhole();
};

void TestOptions::formatItemFollowsTheSelectedItem_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<int>("colour");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("checked");
    QTest::newRow("General Text: ticked, fixed") << 0 << Rgb(0, 0, 0) << false << true;
    QTest::newRow("Window Background: ticked, fixed") << 1 << Rgb(1, 2, 3) << false << true;
    QTest::newRow("Comments/Remarks: its flag") << 2 << Rgb(0, 128, 0) << true << true;
    QTest::newRow("VELK/QON Commands: its flag, off") << 3 << Rgb(255, 0, 0) << true << false;
    QTest::newRow("Local Variables: its flag, off") << 6 << Rgb(128, 128, 128) << true << false;
}

// The item before is one whose flag is off, so a box left as it was would
// show unticked.
void TestOptions::formatItemFollowsTheSelectedItem()
{
    QFETCH(int, item);
    QFETCH(int, colour);
    QFETCH(bool, enabled);
    QFETCH(bool, checked);
    CMemorySettingsStore seed = Seed({{"FormatCom", 0}, {"FormatVar", 0}, {"WindowColor", Rgb(1, 2, 3)}});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    RunOptions(start, [&](CPropSheet& sheet) {
        auto* pItems = sheet.General()->findChild<QListWidget*>();
        auto* pFormat = Child<QCheckBox>(sheet.General(), QStringLiteral("&Format Item"));
        auto* pColour = sheet.General()->findChild<CColorCombo*>();
        pItems->setCurrentRow(3);
        [&] { QVERIFY(!pFormat->isChecked()); }();
        pItems->setCurrentRow(item);
        [&] {
            QCOMPARE(pItems->currentItem()->text(), QLatin1String(Options::ColourItems()[size_t(item)].pszText));
            QCOMPARE(pColour->SelectedColour(), colour);
            QCOMPARE(pFormat->isEnabled(), enabled);
            QCOMPARE(pFormat->isChecked(), checked);
        }();
        return false;
    });
}

void TestOptions::sampleShowsUnformattedKindsInTheTextColour_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("VELK/QON Commands: addWeapon") << 3 << QColor(255, 0, 0);
    QTest::newRow("Comments/Remarks: the first line") << 2 << QColor(0, 128, 0);
    QTest::newRow("Scripting Commands: if and then") << 5 << QColor(0, 0, 255);
}

// Each default colour belongs to one kind of word in the sample, so the
// kind is in sight exactly while its colour is.
void TestOptions::sampleShowsUnformattedKindsInTheTextColour()
{
    QFETCH(int, item);
    QFETCH(QColor, colour);
    CMemorySettingsStore seed = Seed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    RunOptions(start, [&](CPropSheet& sheet) {
        auto* pItems = sheet.General()->findChild<QListWidget*>();
        auto* pFormat = Child<QCheckBox>(sheet.General(), QStringLiteral("&Format Item"));
        [&] {
            QVERIFY(QTest::qWaitForWindowExposed(&sheet));
            QVERIFY(TintedPixels(SampleImage(sheet), colour) > 0);
            const int nDarkBefore = DarkPixels(SampleImage(sheet));
            pItems->setCurrentRow(item);
            QVERIFY(pFormat->isChecked());
            pFormat->click();
            QCOMPARE(TintedPixels(SampleImage(sheet), colour), 0);
            // The words are still there, in the text colour.
            QVERIFY(DarkPixels(SampleImage(sheet)) > nDarkBefore);
            pFormat->click();
            QVERIFY(TintedPixels(SampleImage(sheet), colour) > 0);
            pFormat->click();
        }();
        return true;
    });
    const CSettings& settings = start.App().Settings();
    QCOMPARE(settings.*Options::ColourItems()[size_t(item)].pbFormat, 0);
    QCOMPARE(start.App().MainFrame()->EditorContext().Options().switches.bFormatCom, item != 3);
}

void TestOptions::gameSwitchReloadsOnlyOnOk_data()
{
    QTest::addColumn<bool>("ok");
    QTest::newRow("OK reloads") << true;
    QTest::newRow("Cancel does not") << false;
}

void TestOptions::gameSwitchReloadsOnlyOnOk()
{
    QFETCH(bool, ok);
    CMemorySettingsStore seed = Seed({{"Velk", 1}, {"AutoComplete", 1}});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    // A magazine of the older game only, and one of the newer only.
    const QString sQon = QStringLiteral("Mag30_M16");
    const QString sVelk = QStringLiteral("Mag30_556_STANAG");
    QVERIFY(TreeTexts(start).contains(u'"' + sVelk + u'"'));
    QVERIFY(!TreeTexts(start).contains(u'"' + sQon + u'"'));
    RunOptions(start, [&](CPropSheet& sheet) {
        Child<QRadioButton>(sheet.General(), QStringLiteral("&Qonmar Front (QON)"))->click();
        return ok;
    });
    QCOMPARE(start.App().Settings().m_bVelk, ok ? 0 : 1);
    QCOMPARE(TreeTexts(start).contains(u'"' + sQon + u'"'), ok);
    QCOMPARE(TreeTexts(start).contains(u'"' + sVelk + u'"'), !ok);
    const CDictionary& dictionary = start.App().Dictionary();
    QCOMPARE(dictionary.m_arInfMagazines.contains(sQon), ok);
    // Loading the other game's lists must not leave completion without words.
    QCOMPARE(dictionary.m_arAutoComplete.contains(sQon), ok);
    QCOMPARE(dictionary.m_arAutoComplete.contains(sVelk), !ok);
    QTRY_COMPARE(start.App().MainFrame()->PaneText(6), ok ? QStringLiteral("QON") : QStringLiteral("VELK"));
    QVERIFY(start.Prompter().m_messages.isEmpty());
}

void TestOptions::changedFileTypesRegisterAtOnce_data()
{
    QTest::addColumn<QString>("check");
    QTest::addColumn<QString>("ext");
    QTest::addColumn<QString>("handler");  // empty: no record left
    QTest::newRow("unchecking .sqs unregisters") << "(*.sqs) &Script Files"
                                                 << ".sqs"
                                                 << "";
    QTest::newRow("checking .txt registers") << "(*.txt) Te&xt Files"
                                             << ".txt"
                                             << "VELK.Text.Document";
}

void TestOptions::changedFileTypesRegisterAtOnce()
{
    QFETCH(QString, check);
    QFETCH(QString, ext);
    QFETCH(QString, handler);
    // .ext is set in the settings but not in the store: only what the user
    // changes is run, so it stays unregistered.
    CMemorySettingsStore seed = Seed({{"RegSQS", 1}, {"RegEXT", 1}});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    QVERIFY(RegisterFileType(start.Associations(), *FindFileType(QStringLiteral(".sqs"))));
    QVERIFY(start.Associations().m_keys.value(QStringLiteral(".sqs")).bShellNew);
    RunOptions(start, [&](CPropSheet& sheet) {
        Child<QCheckBox>(sheet.FileTypes(), check)->click();
        return true;
    });
    const CMemoryAssociationStore& store = start.Associations();
    QCOMPARE(store.KeyExists(ext), !handler.isEmpty());
    QCOMPARE(store.ReadDefault(ext), handler);
    QCOMPARE(store.m_keys.contains(QStringLiteral(".sqs")), ext != QStringLiteral(".sqs"));
    QCOMPARE(store.m_keys.value(QStringLiteral(".sqs")).bShellNew, ext != QStringLiteral(".sqs"));
    QVERIFY(!store.KeyExists(QStringLiteral(".ext")));
    QCOMPARE(start.App().Settings().*FindFileType(ext)->pbFlag, handler.isEmpty() ? 0 : 1);
    // Written at close only, as every setting is.
    QCOMPARE(start.Store().ReadInt(kSettingsSection, QStringLiteral("RegSQS"), -1), 1);
}

void TestOptions::fontIsRemadeOnlyWhenItChanges_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("remade");
    QTest::newRow("an item's colour keeps the font") << "colour" << false;
    QTest::newRow("a switch keeps the font") << "switch" << false;
    QTest::newRow("size") << "size" << true;
    QTest::newRow("bold") << "bold" << true;
    QTest::newRow("face") << "face" << true;
}

void TestOptions::fontIsRemadeOnlyWhenItChanges()
{
    QFETCH(QString, change);
    QFETCH(bool, remade);
    CMemorySettingsStore seed = Seed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    QTemporaryDir dir;
    CScriptDoc* pDoc = Open(start, dir, QStringLiteral("a.sqs"), "_unit addWeapon \"M4A1\"\r\n");
    QVERIFY(pDoc);
    CEditorContext& context = start.App().MainFrame()->EditorContext();
    const QFont fontBefore = context.Font();
    const int crComBefore = context.Options().crCom;
    QSignalSpy fontChanges(&context, &CEditorContext::FontChanged);
    QSignalSpy optionChanges(&context, &CEditorContext::Changed);
    RunOptions(start, [&](CPropSheet& sheet) {
        QWidget* pGeneral = sheet.General();
        if (change == "colour") {
            pGeneral->findChild<QListWidget*>()->setCurrentRow(3);
            QTest::keyClick(pGeneral->findChild<CColorCombo*>(), Qt::Key_Down);
        } else if (change == "switch") {
            Child<QCheckBox>(sheet.SettingsPage(), QStringLiteral("Show &line numbers in documents and when printing"))
                ->click();
        } else if (change == "size") {
            QTest::keyClick(Child<QLabel>(pGeneral, QStringLiteral("Font Size"))->buddy(), Qt::Key_Down);
        } else if (change == "bold") {
            Child<QCheckBox>(pGeneral, QStringLiteral("&Bold Fonts"))->click();
        } else if (change == "face") {
            auto* pFont = pGeneral->findChild<CFontCombo*>();
            QTest::keyClick(pFont, pFont->currentIndex() == 0 ? Qt::Key_Down : Qt::Key_Up);
        }
        return true;
    });
    QCOMPARE(fontChanges.count(), remade ? 1 : 0);
    QCOMPARE(context.Font() == fontBefore, !remade);
    QCOMPARE(optionChanges.count(), 1);
    QCOMPARE(View(pDoc)->font().family(), context.Font().family());
    QCOMPARE(View(pDoc)->font().pointSize(), context.Font().pointSize());
    QCOMPARE(View(pDoc)->font().bold(), context.Font().bold());
    const CSettings& settings = start.App().Settings();
    if (change == "colour") {
        QCOMPARE(settings.m_crCom, Rgb(0, 128, 128));  // the named colour after Red
        QCOMPARE(context.Options().crCom, Rgb(0, 128, 128));
    } else {
        QCOMPARE(context.Options().crCom, crComBefore);
    }
    if (change == "size")
        QCOMPARE(context.Font().pointSize(), settings.m_nFontSize);
    QCOMPARE(settings.m_nFontSize, change == "size" ? 11 : 10);
    QCOMPARE(settings.m_bBoldFonts, change == "bold" ? 1 : 0);
    QCOMPARE(context.Font().bold(), change == "bold");
    QCOMPARE(settings.m_sFont != Options::kDefaultFont, change == "face");
}

void TestOptions::restoreDefaultsOnSettingsKeepsTheAuthor()
{
    CMemorySettingsStore seed = Seed({{"Author", QStringLiteral("Sgt. Kowalczyk")}, {"LineNumbers", 1}, {"Format", 0}});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    const QString sTyped = QStringLiteral("Sgt. Kowalczyk, 2nd Platoon");
    RunOptions(start, [&](CPropSheet& sheet) {
        QWidget* pPage = sheet.SettingsPage();
        auto* pAuthor = pPage->findChild<QLineEdit*>();
        pAuthor->end(false);
        QTest::keyClicks(pAuthor, QStringLiteral(", 2nd Platoon"));
        RestoreButton(pPage)->click();
        [&] {
            QCOMPARE(pAuthor->text(), sTyped);
            QVERIFY(Child<QCheckBox>(pPage, QStringLiteral("Allow &color formatting in scripts"))->isChecked());
            QVERIFY(!Child<QCheckBox>(pPage, QStringLiteral("Show &line numbers in documents and when printing"))
                         ->isChecked());
        }();
        return true;
    });
    const CSettings& settings = start.App().Settings();
    QCOMPARE(settings.m_sAuthor, sTyped);
    QCOMPARE(settings.m_bFormat, 1);
    QCOMPARE(settings.m_bLineNumbers, 0);
}

void TestOptions::restoreDefaultsOnGeneralShowsTheDefaults()
{
    CMemorySettingsStore seed = Seed({{"Velk", 0},
                                      {"Font", QStringLiteral("Velk Nonesuch Sans")},
                                      {"FontSize", 14},
                                      {"BoldFonts", 1},
                                      {"ComColor", Rgb(0, 0, 128)},
                                      {"FormatCom", 0}});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    RunOptions(start, [&](CPropSheet& sheet) {
        QWidget* pPage = sheet.General();
        auto* pItems = pPage->findChild<QListWidget*>();
        auto* pFormat = Child<QCheckBox>(pPage, QStringLiteral("&Format Item"));
        auto* pFont = pPage->findChild<CFontCombo*>();
        pItems->setCurrentRow(3);
        [&] {
            QCOMPARE(pFont->SelectedFace(), QStringLiteral("Velk Nonesuch Sans"));
            QVERIFY(!pFormat->isChecked());
        }();
        RestoreButton(pPage)->click();
        [&] {
            QCOMPARE(pItems->currentRow(), 0);
            QCOMPARE(pPage->findChild<CColorCombo*>()->SelectedColour(), Rgb(0, 0, 0));
            QVERIFY(pFormat->isChecked());
            QVERIFY(!pFormat->isEnabled());
            QCOMPARE(pFont->SelectedFace(), Options::kDefaultFont);
            QCOMPARE(Child<QLabel>(pPage, QStringLiteral("Font Size"))->buddy()->property("currentText").toString(),
                     QStringLiteral("10"));
            QVERIFY(!Child<QCheckBox>(pPage, QStringLiteral("&Bold Fonts"))->isChecked());
            QVERIFY(Child<QRadioButton>(pPage, QStringLiteral("&Velk Vanguard (VELK)"))->isChecked());
            QCOMPARE(sheet.General()->SampleBox()->SampleFont().bold(), false);
            pItems->setCurrentRow(3);
            QVERIFY(pFormat->isChecked());
            QCOMPARE(pPage->findChild<CColorCombo*>()->SelectedColour(), Rgb(255, 0, 0));
        }();
        return true;
    });
    const CSettings& settings = start.App().Settings();
    QCOMPARE(settings.m_bVelk, 1);
    QCOMPARE(settings.m_sFont, Options::kDefaultFont);
    QCOMPARE(settings.m_nFontSize, 10);
    QCOMPARE(settings.m_crCom, Rgb(255, 0, 0));
    QCOMPARE(settings.m_bFormatCom, 1);
}

void TestOptions::autoCompleteSwitchedOnBuildsTheList_data()
{
    QTest::addColumn<bool>("switchOn");
    QTest::newRow("switched on") << true;
    QTest::newRow("left off") << false;
}

void TestOptions::autoCompleteSwitchedOnBuildsTheList()
{
    QFETCH(bool, switchOn);
    CMemorySettingsStore seed = Seed({{"AutoComplete", 0}});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    const CDictionary& dictionary = start.App().Dictionary();
    QVERIFY(dictionary.m_arAutoComplete.isEmpty());
    RunOptions(start, [&](CPropSheet& sheet) {
        if (switchOn)
            Child<QCheckBox>(sheet.SettingsPage(), QStringLiteral("Allow &auto-complete text in scripts"))->click();
        return true;
    });
    QCOMPARE(start.App().Settings().m_bAutoComplete, int(switchOn));
    QCOMPARE(dictionary.m_arAutoComplete.contains(QStringLiteral("addWeapon")), switchOn);
    QCOMPARE(dictionary.m_arAutoComplete.contains(QStringLiteral("_this")), switchOn);
}

void TestOptions::cancelChangesNothing()
{
    CMemorySettingsStore seed = Seed({{"RegSQS", 1}});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    QVERIFY(RegisterFileType(start.Associations(), *FindFileType(QStringLiteral(".sqs"))));
    const auto keysBefore = start.Associations().m_keys;
    CSettings& settings = start.App().Settings();
    const Options::SForm before = Options::FormOf(settings);
    QSignalSpy settingsChanges(&settings, &CSettings::Changed);
    QSignalSpy fontChanges(&start.App().MainFrame()->EditorContext(), &CEditorContext::FontChanged);
    RunOptions(start, [&](CPropSheet& sheet) {
        QWidget* pGeneral = sheet.General();
        Child<QRadioButton>(pGeneral, QStringLiteral("&Qonmar Front (QON)"))->click();
        Child<QCheckBox>(pGeneral, QStringLiteral("&Bold Fonts"))->click();
        // Black, the text's colour, is the last named one: up goes to another.
        QTest::keyClick(pGeneral->findChild<CColorCombo*>(), Qt::Key_Up);
        RestoreButton(pGeneral)->click();
        QTest::keyClicks(sheet.SettingsPage()->findChild<QLineEdit*>(), QStringLiteral("Someone"));
        Child<QCheckBox>(sheet.FileTypes(), QStringLiteral("(*.sqs) &Script Files"))->click();
        Child<QCheckBox>(sheet.FileTypes(), QStringLiteral("(*.csv) String &Table Files"))->click();
        return false;
    });
    const Options::SForm after = Options::FormOf(settings);
    QCOMPARE(after.nGame, before.nGame);
    QCOMPARE(after.bBold, before.bBold);
    QCOMPARE(after.colours, before.colours);
    QCOMPARE(after.sAuthor, before.sAuthor);
    QCOMPARE(after.fileTypes, before.fileTypes);
    QCOMPARE(settingsChanges.count(), 0);
    QCOMPARE(fontChanges.count(), 0);
    QCOMPARE(start.Associations().m_keys.keys(), keysBefore.keys());
    QVERIFY(TreeTexts(start).contains(QStringLiteral("\"Mag30_556_STANAG\"")));
}

void TestOptions::standInIsNamedAndUsed_data()
{
    QTest::addColumn<QString>("face");  // empty: the first family installed here
    QTest::newRow("an installed family") << "";
    QTest::newRow("a family nobody has") << "Velk Nonesuch Mono";
    QTest::newRow("the default family") << Options::kDefaultFont;
}

// The note, the sample and the editor all name or use one face.
void TestOptions::standInIsNamedAndUsed()
{
    QFETCH(QString, face);
    CMemorySettingsStore seed;
    CStart start({}, &seed);  // the font list needs the application
    const QStringList families = QFontDatabase::families();
    QVERIFY(!families.isEmpty());
    if (face.isEmpty())
        face = families.first();
    const bool installed = families.contains(face);
    start.Store() = Seed({{"Font", face}});
    QVERIFY(start.App().InitInstance());
    const QFont editorFont = start.App().MainFrame()->EditorContext().Font();
    RunOptions(start, [&](CPropSheet& sheet) {
        CPropPage1* pPage = sheet.General();
        const QString sNote = pPage->StandInNote();
        [&] {
            QCOMPARE(pPage->findChild<CFontCombo*>()->SelectedFace(), face);
            QCOMPARE(Child<QLabel>(pPage, sNote) != nullptr, true);
            if (installed) {
                QCOMPARE(sNote, QString());
                QCOMPARE(editorFont.family(), face);
                return;
            }
            const QString sPrefix = QStringLiteral("Shown with ");
            const QString sSuffix = QStringLiteral(": %1 is not installed").arg(face);
            QVERIFY2(sNote.startsWith(sPrefix) && sNote.endsWith(sSuffix), qPrintable(sNote));
            const QString sUsed = sNote.mid(sPrefix.size(), sNote.size() - sPrefix.size() - sSuffix.size());
            QVERIFY(QFontDatabase::families().contains(sUsed));
            QCOMPARE(editorFont.family(), sUsed);
            QCOMPARE(QFontInfo(editorFont).family(), sUsed);
            QCOMPARE(pPage->SampleBox()->SampleFont().family(), sUsed);
            // Columns must line up in whatever stands in.
            QVERIFY(QFontInfo(editorFont).fixedPitch());
        }();
        return false;
    });
}

// What a person sees at the default font size: every control at least as
// large as it asks to be, inside its page.
void TestOptions::pagesShowEveryControlWhole()
{
    CMemorySettingsStore seed = Seed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    RunOptions(start, [&](CPropSheet& sheet) {
        [&] {
            QCOMPARE(sheet.windowTitle(), QStringLiteral("Options"));
            QCOMPARE(sheet.Buttons()->buttons().size(), 2);
            QVERIFY(QTest::qWaitForWindowExposed(&sheet));
            const char* const names[] = {"general", "settings", "filetypes"};
            for (int nPage = 0; nPage < sheet.Tabs()->count(); ++nPage) {
                sheet.Tabs()->setCurrentIndex(nPage);
                QWidget* pPage = sheet.Tabs()->widget(nPage);
                const QImage picture = pPage->grab().toImage();
                const QString sDir = qEnvironmentVariable("VELK_PICTURES_DIR");
                if (!sDir.isEmpty())
                    picture.save(
                        QDir(sDir).filePath(QStringLiteral("options-%1.png").arg(QLatin1String(names[nPage]))));
                for (QWidget* pChild : Controls(pPage)) {
                    const QString sWhat = QStringLiteral("%1 \"%2\" on %3")
                                              .arg(QLatin1String(pChild->metaObject()->className()),
                                                   pChild->property("text").toString(), sheet.Tabs()->tabText(nPage));
                    const QRect rcOnPage(pChild->mapTo(pPage, QPoint(0, 0)), pChild->size());
                    QVERIFY2(pPage->rect().contains(rcOnPage), qPrintable(sWhat));
                    const QSize minimum = pChild->minimumSizeHint();
                    QVERIFY2(pChild->width() >= minimum.width() && pChild->height() >= minimum.height(),
                             qPrintable(sWhat));
                    if (pChild->hasHeightForWidth())
                        QVERIFY2(pChild->height() >= pChild->heightForWidth(pChild->width()), qPrintable(sWhat));
                }
            }
            QCOMPARE(sheet.Tabs()->tabText(0), QStringLiteral("General"));
            QCOMPARE(sheet.Tabs()->tabText(1), QStringLiteral("Settings"));
            QCOMPARE(sheet.Tabs()->tabText(2), QStringLiteral("File Types"));
        }();
        return false;
    });
}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TestOptions test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_options.moc"
