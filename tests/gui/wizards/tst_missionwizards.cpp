// The description, custom unit and crate builder wizards in a running
// editor: their commands, the rules their controls follow, and the
// documents they open.
#include "core/data/dictionary.h"
#include "gui/controls/commands.h"
#include "gui/documents/doctemplate.h"
#include "gui/wizards/cratedlg.h"
#include "gui/wizards/descriptiondlg.h"
#include "gui/wizards/missionwizardcommands.h"
#include "gui/wizards/unitdlg.h"
#include "tests/support/editorfixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>

using namespace VelkTest;
using EAnswer = IPrompter::EAnswer;

namespace {

// A dictionary small enough to know by heart.
void SmallDictionary(CDictionary& dictionary)
{
    dictionary.m_arInfWeapons = QStringList{"M16", "AK74", "Binocular", "m4"};
    dictionary.m_arInfMagazines = QStringList{"Mag30_762", "mag30_556_tracer", "Mag30_556", "Belt"};
    dictionary.m_arEquipment = QStringList{"NVGoggles", "Mine", "Binocular"};
    for (CWeaponEntry& entry : dictionary.m_InfWeaponMags)
        entry = CWeaponEntry();
    dictionary.m_InfWeaponMags[0] = {QStringLiteral("M16"), QStringList{"MAG30_556", "Mag30_762"}};
    dictionary.m_InfWeaponMags[1] = {QStringLiteral("AK74"), QStringList{"Mag30_762"}};
    dictionary.m_arUnitData = QString::fromLatin1("[PRIMARY WEAPONS VELK]\n"
                                                  "M16A2,Mag30,1\n"
                                                  "M16A4_GL,Mag30,1,HE_M203,1\n"
                                                  "M249,Belt200,2\n"
                                                  "\n"
                                                  "[SECONDARY WEAPONS VELK]\n"
                                                  "M136,M136_Rocket,4\n"
                                                  "\n"
                                                  "[HANDGUNS VELK]\n"
                                                  "M9,Mag15_M9\n"
                                                  "\n"
                                                  "[EQUIPMENT VELK]\n"
                                                  "Medikit,2\n"
                                                  "Satchel,3\n"
                                                  "\n"
                                                  "[PRIMARY WEAPONS QON]\n"
                                                  "M16,M16,1\n"
                                                  "M16GL,M16,1,M203Grenade,1\n"
                                                  "\n"
                                                  "[SECONDARY WEAPONS QON]\n"
                                                  "LAW,LAWLauncher,4\n"
                                                  "\n"
                                                  "[HANDGUNS QON]\n"
                                                  "Beretta,BerettaMag\n"
                                                  "\n"
                                                  "[EQUIPMENT QON]\n"
                                                  "Mine,3")
                                  .split(u'\n');
}

template <typename T> T* Child(QWidget& dialog, const char* pszName)
{
    T* pChild = dialog.findChild<T*>(QLatin1String(pszName));
    if (!pChild)
        qWarning("no %s", pszName);
    return pChild;
}

QPushButton* Button(QWidget& dialog, const QString& sText)
{
    for (QPushButton* pButton : dialog.findChildren<QPushButton*>())
        if (pButton->text() == sText)
            return pButton;
    qWarning("no button %s", qPrintable(sText));
    return nullptr;
}

// The description's three "Add" buttons: weapons, magazines, equipment.
QList<QPushButton*> AddButtons(QWidget& dialog)
{
    QList<QPushButton*> buttons;
    for (QPushButton* pButton : dialog.findChildren<QPushButton*>())
        if (pButton->text() == QLatin1String("Add"))
            buttons.append(pButton);
    return buttons;
}

void Click(QWidget& dialog, const QString& sText)
{
    QPushButton* pButton = Button(dialog, sText);
    QVERIFY(pButton);
    QVERIFY2(pButton->isEnabled(), qPrintable(sText));
    pButton->click();
}

QStringList ListTexts(const QListWidget* pList)
{
    QStringList texts;
    for (int i = 0; i < pList->count(); ++i)
        texts.append(pList->item(i)->text());
    return texts;
}

QStringList ComboTexts(const QComboBox* pList)
{
    QStringList texts;
    for (int i = 0; i < pList->count(); ++i)
        texts.append(pList->itemText(i));
    return texts;
}

// What the user picks with the keyboard, as a choice change: the arrow
// keys walk from the current item to it.
void Choose(QComboBox* pList, const QString& sText)
{
    const int nTarget = pList->findText(sText);
    QVERIFY2(nTarget >= 0, qPrintable(sText));
    pList->setFocus();
    while (pList->currentIndex() != nTarget) {
        const int nBefore = pList->currentIndex();
        QTest::keyClick(pList, nTarget > nBefore ? Qt::Key_Down : Qt::Key_Up);
        QVERIFY(pList->currentIndex() != nBefore);
    }
}

void StepUp(QSpinBox* pCount, int nTimes)
{
    for (int i = 0; i < nTimes; ++i)
        pCount->stepUp();
}

// Every text on the dialog has the room it asks for: nothing is cut off.
QStringList Clipped(QWidget& dialog)
{
    QStringList clipped;
    for (QWidget* pWidget : dialog.findChildren<QWidget*>()) {
        if (!pWidget->isVisible())
            continue;
        QString sText;
        if (auto* pLabel = qobject_cast<QLabel*>(pWidget); pLabel && !pLabel->wordWrap())
            sText = pLabel->text();
        else if (auto* pButton = qobject_cast<QAbstractButton*>(pWidget))
            sText = pButton->text();
        else
            continue;
        if (pWidget->width() < pWidget->sizeHint().width() || pWidget->height() < pWidget->minimumSizeHint().height())
            clipped.append(sText);
        const QRect inDialog(pWidget->mapTo(&dialog, QPoint(0, 0)), pWidget->size());
        if (!dialog.rect().contains(inDialog))
            clipped.append(sText + QStringLiteral(" (outside)"));
    }
    return clipped;
}

// Controls the user works with, each a whole: the parts inside a list or
// a count box are not controls of their own.
QList<QWidget*> Controls(QWidget& dialog)
{
    QList<QWidget*> controls;
    for (QWidget* pWidget : dialog.findChildren<QWidget*>()) {
        if (!pWidget->isVisible())
            continue;
        const bool bControl = qobject_cast<QLabel*>(pWidget) || qobject_cast<QAbstractButton*>(pWidget)
            || qobject_cast<QComboBox*>(pWidget) || qobject_cast<QAbstractSpinBox*>(pWidget)
            || qobject_cast<QListWidget*>(pWidget) || qobject_cast<QLineEdit*>(pWidget)
            || qobject_cast<QProgressBar*>(pWidget);
        bool bInside = false;
        for (QWidget* pParent = pWidget->parentWidget(); pParent && pParent != &dialog;
             pParent = pParent->parentWidget())
            bInside = bInside || qobject_cast<QAbstractSpinBox*>(pParent) || qobject_cast<QComboBox*>(pParent)
                || qobject_cast<QListWidget*>(pParent);
        if (bControl && !bInside)
            controls.append(pWidget);
    }
    return controls;
}

// Two controls drawn over each other.
QStringList Overlapping(QWidget& dialog)
{
    QStringList overlapping;
    const QList<QWidget*> controls = Controls(dialog);
    const auto name = [](const QWidget* pWidget) {
        if (auto* pLabel = qobject_cast<const QLabel*>(pWidget))
            return pLabel->text();
        if (auto* pButton = qobject_cast<const QAbstractButton*>(pWidget))
            return pButton->text();
        return pWidget->objectName() + QLatin1String(pWidget->metaObject()->className());
    };
    for (qsizetype i = 0; i < controls.size(); ++i) {
        const QRect a(controls[i]->mapTo(&dialog, QPoint(0, 0)), controls[i]->size());
        for (qsizetype j = i + 1; j < controls.size(); ++j) {
            const QRect b(controls[j]->mapTo(&dialog, QPoint(0, 0)), controls[j]->size());
            if (a.intersects(b))
                overlapping.append(name(controls[i]) + QStringLiteral(" / ") + name(controls[j]));
        }
    }
    return overlapping;
}

// Pictures of the wizards for people to look at, where asked for.
void Picture(QWidget& dialog, const char* pszName)
{
    const QString sFolder = qEnvironmentVariable("VELK_WIZARD_PICTURES");
    if (!sFolder.isEmpty())
        QVERIFY(dialog.grab().save(QDir(sFolder).filePath(QLatin1String(pszName))));
}

struct SWizardFixture
{
    CMemorySettingsStore seed;
    CStart start;
    CMissionWizardCommands* pCommands = nullptr;
    int nNextRandom = 42;

    explicit SWizardFixture(bool bVelk = true, bool bSmall = true)
        : seed(Seed({{"Velk", int(bVelk)}, {"ShowExt", 0}}))
        , start({}, &seed)
    {
        QVERIFY(start.App().InitInstance());
        if (bSmall)
            SmallDictionary(start.App().Dictionary());
        pCommands = start.App().MainFrame()->findChild<CMissionWizardCommands*>();
        QVERIFY(pCommands);
        pCommands->SetRandom([this] { return nNextRandom++; });
    }
    ~SWizardFixture()
    {
        start.Prompter().m_saveModifiedAnswers.append({EAnswer::No, {}});
        start.CloseAndKeepStore();
    }

    // Runs the command through its menu entry; act plays the user.
    template <typename TDialog> int Run(const QString& sCommand, const std::function<void(TDialog&)>& act)
    {
        int nResult = -1;
        bool bRan = false;
        pCommands->SetRunner([&](QDialog& dialog) {
            auto* pDialog = qobject_cast<TDialog*>(&dialog);
            if (!pDialog)
                return;
            bRan = true;
            dialog.show();
            act(*pDialog);
            nResult = dialog.result();
        });
        start.App().MainFrame()->Commands().Refresh();
        QAction* pAction = MenuCommand(start.App().MainFrame(), sCommand);
        if (!pAction || !pAction->isEnabled())
            return -2;
        pAction->trigger();
        return bRan ? nResult : -3;
    }

    QStringList Messages() { return start.Prompter().m_messages; }
    QStringList Captions() { return start.Prompter().m_captions; }
    CScriptDoc* Active() { return start.App().MainFrame()->ActiveDocument(); }

    MissionWizards::SContext Context(bool bCreates)
    {
        return {start.App().Dictionary(),
                start.Prompter(),
                start.App().Settings().m_bVelk != 0,
                QStringLiteral("Version 1.3.4000"),
                [bCreates](EDocKind, const QString&, const QString&) { return bCreates; },
                [this] { return nNextRandom++; }};
    }
};

const QString kCrate = QStringLiteral("&Crate Builder Wizard...");
const QString kDescription = QStringLiteral("&Description Wizard...");
const QString kUnit = QStringLiteral("Custom &Unit Wizard...");
const QString kCreateAnother = QStringLiteral("Script was created successfully.\n\nWould you like to create another?");

}  // namespace

class TestMissionWizards : public QObject
{
    Q_OBJECT

private slots:
    void crateWritesTheScriptOfItsRows()
    {
        SWizardFixture f;
        f.start.Prompter().m_answers = {EAnswer::No};
        const int nResult = f.Run<CCrateDlg>(kCrate, [&](CCrateDlg& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Crate Builder Wizard"));
            QCOMPARE(dialog.CrateName(), QStringLiteral("CRATE_42"));
            // The magazines sorted ignoring case, the others as the dictionary has them.
            QCOMPARE(ComboTexts(Child<QComboBox>(dialog, "magazines")),
                     QStringList({"Belt", "Mag30_556", "mag30_556_tracer", "Mag30_762"}));
            QCOMPARE(ComboTexts(Child<QComboBox>(dialog, "weapons")), QStringList({"M16", "AK74", "Binocular", "m4"}));
            QCOMPARE(ComboTexts(Child<QComboBox>(dialog, "equipment")),
                     QStringList({"NVGoggles", "Mine", "Binocular"}));
            QCOMPARE(Child<QSpinBox>(dialog, "weaponCount")->value(), 5);
            QCOMPARE(Child<QSpinBox>(dialog, "magazineCount")->value(), 25);
            QCOMPARE(Child<QSpinBox>(dialog, "equipmentCount")->value(), 5);
            QVERIFY(Child<QCheckBox>(dialog, "emptyCrate")->isChecked());
            QVERIFY(Button(dialog, QStringLiteral("Create Crate Script"))->isEnabled());

            // The weapon's first magazine follows it, by prefix and ignoring case.
            Choose(Child<QComboBox>(dialog, "weapons"), QStringLiteral("AK74"));
            QCOMPARE(Child<QComboBox>(dialog, "magazines")->currentText(), QStringLiteral("Mag30_762"));
            Choose(Child<QComboBox>(dialog, "weapons"), QStringLiteral("M16"));
            QCOMPARE(Child<QComboBox>(dialog, "magazines")->currentText(), QStringLiteral("Mag30_556"));
            Click(dialog, QStringLiteral("Add Weapons"));
            Click(dialog, QStringLiteral("Add Magazines"));
            Child<QSpinBox>(dialog, "weaponCount")->setValue(9);
            Click(dialog, QStringLiteral("Add Weapons"));  // already there: refused, count kept
            Choose(Child<QComboBox>(dialog, "weapons"), QStringLiteral("Binocular"));
            Click(dialog, QStringLiteral("Add Weapons"));
            Choose(Child<QComboBox>(dialog, "equipment"), QStringLiteral("Binocular"));
            Click(dialog, QStringLiteral("Add Equipment"));  // the same row prefix: refused
            Choose(Child<QComboBox>(dialog, "equipment"), QStringLiteral("Mine"));
            Child<QSpinBox>(dialog, "equipmentCount")->setValue(0);
            Click(dialog, QStringLiteral("Add Equipment"));
            QCOMPARE(dialog.Rows(),
                     QStringList({"addWeaponCargo [\"M16\", 5]", "addMagazineCargo [\"Mag30_556\", 25]",
                                  "addWeaponCargo [\"Binocular\", 9]", "addMagazineCargo [\"Mine\", 0]"}));
            Click(dialog, QStringLiteral("Create Crate Script"));
        });
        QCOMPARE(nResult, int(QDialog::Accepted));
        QCOMPARE(f.Messages(), QStringList{kCreateAnother});
        QCOMPARE(f.Captions(), QStringList{QStringLiteral("Script Created")});
        CScriptDoc* pDoc = f.Active();
        QVERIFY(pDoc);
        QCOMPARE(pDoc->GetTitle(), QStringLiteral("CRATE_42*"));
        QCOMPARE(pDoc->GetPathName(), QString());
        QCOMPARE(pDoc->PlainText(),
                 QStringLiteral("; ****************************************************************\n"
                                "; Custom crate script for Velk Vanguard\n"
                                "; Created with Velk Edit - Version 1.3.4000\n"
                                "; HELP: Run this script from the INITIALIZATION box of the crate.\n"
                                "; CODE: [this] exec \"CRATE_42.sqs\"\n"
                                "; ****************************************************************\n"
                                "\n"
                                "; Get the crate parameter given\n"
                                "_crate = _this select 0\n"
                                "\n"
                                "; Remove the stock items from the crate\n"
                                "clearMagazineCargo _crate\n"
                                "clearWeaponCargo _crate\n"
                                "\n"
                                "; Add the items to the crate\n"
                                "_crate addWeaponCargo [\"M16\", 5]\n"
                                "_crate addMagazineCargo [\"Mag30_556\", 25]\n"
                                "_crate addWeaponCargo [\"Binocular\", 9]\n"
                                "_crate addMagazineCargo [\"Mine\", 0]\n"
                                "\n"
                                "Exit\n"));
        QVERIFY(!View(pDoc)->CanUndo());
    }

    void crateButtonsFollowTheRows()
    {
        SWizardFixture f;
        f.Run<CCrateDlg>(kCrate, [&](CCrateDlg& dialog) {
            QPushButton* pRemove = Button(dialog, QStringLiteral("--->    Remove Item"));
            QPushButton* pClear = Button(dialog, QStringLiteral("Clear All Items"));
            QListWidget* pCrate = Child<QListWidget>(dialog, "crate");
            QVERIFY(!pRemove->isEnabled());
            QVERIFY(!pClear->isEnabled());
            Click(dialog, QStringLiteral("Add Weapons"));
            Click(dialog, QStringLiteral("Add Magazines"));
            QVERIFY(!pRemove->isEnabled());
            QVERIFY(pClear->isEnabled());
            pCrate->setCurrentRow(0);
            QVERIFY(pRemove->isEnabled());
            pRemove->click();
            QCOMPARE(dialog.Rows().size(), 1);
            QVERIFY(pCrate->selectedItems().isEmpty());
            QVERIFY(!pRemove->isEnabled());
            pClear->click();
            QVERIFY(dialog.Rows().isEmpty());
            QVERIFY(!pClear->isEnabled());
            dialog.reject();
        });
        QVERIFY(!f.Active());
    }

    void crateCountsStopAtZero()
    {
        SWizardFixture f;
        f.Run<CCrateDlg>(kCrate, [&](CCrateDlg& dialog) {
            QSpinBox* pCount = Child<QSpinBox>(dialog, "weaponCount");
            pCount->setValue(1);
            pCount->stepDown();
            pCount->stepDown();
            QCOMPARE(pCount->value(), 0);
            pCount->stepUp();
            QCOMPARE(pCount->value(), 1);
            // Digits only.
            pCount->setFocus();
            pCount->selectAll();
            QTest::keyClicks(pCount, QStringLiteral("-4x"));
            QVERIFY(pCount->value() >= 0);
            dialog.reject();
        });
    }

    void namesThatCannotBeFileNamesDisableCreate_data()
    {
        QTest::addColumn<QString>("sName");
        QTest::addColumn<bool>("bEnabled");
        QTest::newRow("empty") << "" << false;
        QTest::newRow("colon") << "UNIT:1" << false;
        QTest::newRow("slash") << "a/b" << false;
        QTest::newRow("backslash") << "a\\b" << false;
        QTest::newRow("asterisk") << "a*" << false;
        QTest::newRow("question mark") << "a?" << false;
        QTest::newRow("bar") << "a|b" << false;
        QTest::newRow("double quote") << "a\"b" << false;
        QTest::newRow("angle brackets") << "<a>" << false;
        QTest::newRow("blanks and dots") << "Ammo dump.v2" << true;
    }
    void namesThatCannotBeFileNamesDisableCreate()
    {
        QFETCH(QString, sName);
        QFETCH(bool, bEnabled);
        SWizardFixture f;
        f.Run<CCrateDlg>(kCrate, [&](CCrateDlg& dialog) {
            QLineEdit* pName = Child<QLineEdit>(dialog, "name");
            pName->setFocus();
            pName->selectAll();
            QTest::keyClick(pName, Qt::Key_Delete);
            QTest::keyClicks(pName, sName);
            QCOMPARE(Button(dialog, QStringLiteral("Create Crate Script"))->isEnabled(), bEnabled);
            dialog.reject();
        });
        f.Run<CUnitDlg>(kUnit, [&](CUnitDlg& dialog) {
            QLineEdit* pName = Child<QLineEdit>(dialog, "name");
            pName->setFocus();
            pName->selectAll();
            QTest::keyClick(pName, Qt::Key_Delete);
            QTest::keyClicks(pName, sName);
            QCOMPARE(Button(dialog, QStringLiteral("Create Unit Script"))->isEnabled(), bEnabled);
            dialog.reject();
        });
    }

    void crateCreateAnotherStartsAfreshKeepingCounts()
    {
        SWizardFixture f;
        f.start.Prompter().m_answers = {EAnswer::Yes, EAnswer::No};
        const int nResult = f.Run<CCrateDlg>(kCrate, [&](CCrateDlg& dialog) {
            Child<QSpinBox>(dialog, "weaponCount")->setValue(7);
            Child<QCheckBox>(dialog, "emptyCrate")->click();
            Click(dialog, QStringLiteral("Add Weapons"));
            Click(dialog, QStringLiteral("Create Crate Script"));
            QVERIFY(dialog.isVisible());
            QVERIFY(dialog.Rows().isEmpty());
            QVERIFY(!Child<QCheckBox>(dialog, "emptyCrate")->isChecked());
            QCOMPARE(dialog.CrateName(), QStringLiteral("CRATE_43"));
            QCOMPARE(Child<QSpinBox>(dialog, "weaponCount")->value(), 7);
            Click(dialog, QStringLiteral("Create Crate Script"));
        });
        QCOMPARE(nResult, int(QDialog::Accepted));
        QCOMPARE(f.Messages(), QStringList({kCreateAnother, kCreateAnother}));
        QCOMPARE(f.Active()->GetTitle(), QStringLiteral("CRATE_43*"));
    }

    void crateFailureClosesTheDialog()
    {
        SWizardFixture f;
        CCrateDlg dialog(f.Context(false));
        dialog.show();
        Click(dialog, QStringLiteral("Create Crate Script"));
        QCOMPARE(f.Messages(), QStringList{QStringLiteral("Error creating script")});
        QCOMPARE(f.Captions(), QStringList{QStringLiteral("FILE ERROR")});
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!dialog.isVisible());
    }

    void emptyDictionaryListsSayNotAvailable()
    {
        SWizardFixture f;
        f.start.App().Dictionary().m_arInfMagazines.clear();
        f.start.App().Dictionary().m_arEquipment.clear();
        CCrateDlg crate(f.Context(true));
        QCOMPARE(ComboTexts(Child<QComboBox>(crate, "magazines")), QStringList{"ERROR: Not Available"});
        CDescriptionDlg description(f.Context(true));
        QCOMPARE(ComboTexts(Child<QComboBox>(description, "equipment")), QStringList{"ERROR: Not Available"});
    }

    void descriptionGroupsFollowTheirChecks()
    {
        SWizardFixture f;
        f.Run<CDescriptionDlg>(kDescription, [&](CDescriptionDlg& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Description Wizard"));
            QMap<QString, QGroupBox*> groups;
            for (QGroupBox* pGroup : dialog.findChildren<QGroupBox*>())
                groups[pGroup->title()] = pGroup;
            for (const char* pszGroup : {"Unit Respawn Settings", "Mission Gear", "Custom Sounds"})
                QVERIFY2(groups.contains(QLatin1String(pszGroup)) && !groups[QLatin1String(pszGroup)]->isEnabled(),
                         pszGroup);
            QVERIFY(groups[QStringLiteral("Add To Description")]->isEnabled());
            Child<QCheckBox>(dialog, "addGear")->click();
            QVERIFY(groups[QStringLiteral("Mission Gear")]->isEnabled());
            QVERIFY(!groups[QStringLiteral("Custom Sounds")]->isEnabled());
            Child<QCheckBox>(dialog, "addSounds")->click();
            QVERIFY(groups[QStringLiteral("Custom Sounds")]->isEnabled());
            Child<QCheckBox>(dialog, "addGear")->click();
            QVERIFY(!groups[QStringLiteral("Mission Gear")]->isEnabled());
            Child<QCheckBox>(dialog, "addRespawn")->click();
            QVERIFY(groups[QStringLiteral("Unit Respawn Settings")]->isEnabled());
            // The form opens as the file's defaults say.
            const DescriptionText::SForm form = dialog.Form();
            QCOMPARE(form.nRespawnType, 3);
            QCOMPARE(form.sRespawnDelay, QStringLiteral("15"));
            QCOMPARE(Child<QComboBox>(dialog, "soundClass")->currentText(), QStringLiteral("CfgSounds"));
            QCOMPARE(Child<QSpinBox>(dialog, "weaponCount")->value(), 3);
            QCOMPARE(Child<QSpinBox>(dialog, "magazineCount")->value(), 15);
            QCOMPARE(Child<QSpinBox>(dialog, "equipmentCount")->value(), 5);
            dialog.reject();
        });
    }

    void descriptionGearRows()
    {
        SWizardFixture f;
        f.Run<CDescriptionDlg>(kDescription, [&](CDescriptionDlg& dialog) {
            Child<QCheckBox>(dialog, "addGear")->click();
            // All three choice lists sorted ignoring case.
            QCOMPARE(ComboTexts(Child<QComboBox>(dialog, "weapons")), QStringList({"AK74", "Binocular", "M16", "m4"}));
            QCOMPARE(ComboTexts(Child<QComboBox>(dialog, "equipment")),
                     QStringList({"Binocular", "Mine", "NVGoggles"}));
            Choose(Child<QComboBox>(dialog, "weapons"), QStringLiteral("M16"));
            QCOMPARE(Child<QComboBox>(dialog, "magazines")->currentText(), QStringLiteral("Mag30_556"));
            Click(dialog, QStringLiteral("Add"));
            Child<QSpinBox>(dialog, "weaponCount")->setValue(8);
            Click(dialog, QStringLiteral("Add"));  // the same weapon: the first row stays
            const QList<QPushButton*> adds = AddButtons(dialog);
            QCOMPARE(adds.size(), 3);
            adds[1]->click();
            Choose(Child<QComboBox>(dialog, "equipment"), QStringLiteral("NVGoggles"));
            adds[2]->click();
            Choose(Child<QComboBox>(dialog, "equipment"), QStringLiteral("Mine"));
            adds[2]->click();
            QListWidget* pWeapons = Child<QListWidget>(dialog, "weaponRows");
            QListWidget* pMagazines = Child<QListWidget>(dialog, "magazineRows");
            QCOMPARE(ListTexts(pWeapons), QStringList({"M16 (3)", "NVGoggles (5)"}));
            QCOMPARE(ListTexts(pMagazines), QStringList({"Mag30_556 (15)", "Mine (5)"}));
            // Remove takes the selected row of each list.
            pWeapons->setCurrentRow(0);
            pMagazines->setCurrentRow(1);
            Click(dialog, QStringLiteral("Remove"));
            QCOMPARE(ListTexts(pWeapons), QStringList({"NVGoggles (5)"}));
            QCOMPARE(ListTexts(pMagazines), QStringList({"Mag30_556 (15)"}));
            Click(dialog, QStringLiteral("Clear"));
            QCOMPARE(pWeapons->count() + pMagazines->count(), 0);
            dialog.reject();
        });
    }

    void descriptionSoundFilesByClass()
    {
        SWizardFixture f;
        f.start.Prompter().m_openManyNames = {{"/missions/a/alarm.ogg", "/missions/a/Intro.OGG"}, {"/other/theme.ogg"}};
        f.Run<CDescriptionDlg>(kDescription, [&](CDescriptionDlg& dialog) {
            Child<QCheckBox>(dialog, "addSounds")->click();
            QListWidget* pFiles = Child<QListWidget>(dialog, "soundFiles");
            QComboBox* pClass = Child<QComboBox>(dialog, "soundClass");
            QCOMPARE(ComboTexts(pClass), QStringList({"CfgSounds", "CfgMusic", "CfgRadio"}));
            Click(dialog, QStringLiteral("Add F&iles..."));
            QCOMPARE(ListTexts(pFiles), QStringList({"alarm.ogg", "Intro.OGG"}));
            Choose(pClass, QStringLiteral("CfgMusic"));
            QCOMPARE(pFiles->count(), 0);
            Click(dialog, QStringLiteral("Add F&iles..."));
            QCOMPARE(ListTexts(pFiles), QStringList{"theme.ogg"});
            Choose(pClass, QStringLiteral("CfgSounds"));
            QCOMPARE(ListTexts(pFiles), QStringList({"alarm.ogg", "Intro.OGG"}));
            pFiles->setCurrentRow(0);
            QPushButton* pRemove = Child<QPushButton>(dialog, "removeFile");
            pRemove->click();
            QCOMPARE(ListTexts(pFiles), QStringList{"Intro.OGG"});
            const DescriptionText::SForm form = dialog.Form();
            QCOMPARE(form.soundFiles[0], QStringList{"Intro.OGG"});
            QCOMPARE(form.soundFiles[1], QStringList{"theme.ogg"});
            QVERIFY(form.soundFiles[2].isEmpty());
            dialog.reject();
        });
        QCOMPARE(f.start.Prompter().m_openManyTitles, QStringList({"Sound Files", "Sound Files"}));
        QCOMPARE(f.start.Prompter().m_openManyFilters.first(), QStringLiteral("Sound Files (*.ogg)|*.ogg|"));
    }

    void descriptionOpensAsADocument()
    {
        SWizardFixture f(false);
        f.start.Prompter().m_openManyNames = {{"/m/Intro.OGG"}};
        const int nResult = f.Run<CDescriptionDlg>(kDescription, [&](CDescriptionDlg& dialog) {
            Child<QCheckBox>(dialog, "showGPS")->click();
            QSpinBox* pAvg = Child<QSpinBox>(dialog, "avgScore");
            pAvg->setFocus();
            pAvg->selectAll();
            QTest::keyClicks(pAvg, QStringLiteral("5"));
            Child<QCheckBox>(dialog, "addGear")->click();
            Choose(Child<QComboBox>(dialog, "equipment"), QStringLiteral("NVGoggles"));
            AddButtons(dialog).at(2)->click();
            Child<QCheckBox>(dialog, "addSounds")->click();
            Choose(Child<QComboBox>(dialog, "soundClass"), QStringLiteral("CfgRadio"));
            Click(dialog, QStringLiteral("Add F&iles..."));
            Click(dialog, QStringLiteral("Create Description File"));
        });
        QCOMPARE(nResult, int(QDialog::Accepted));
        QCOMPARE(f.Messages(), QStringList{QStringLiteral("Description was created successfully.")});
        QCOMPARE(f.Captions(), QStringList{QStringLiteral("Description Created")});
        CScriptDoc* pDoc = f.Active();
        QVERIFY(pDoc);
        QCOMPARE(pDoc->GetTitle(), QStringLiteral("Description*"));
        // A high score of 0 writes no scores, whatever the average says;
        // the sounds' class keeps the upper-case extension.
        QCOMPARE(pDoc->PlainText(),
                 QStringLiteral("///////////////////////////////////////////////////////////\n"
                                "// Qonmar Front Description File\n"
                                "// Created with Velk Edit - Version 1.3.4000\n"
                                "///////////////////////////////////////////////////////////\n"
                                "\n"
                                "showCompass = 0;\n"
                                "showGPS = 1;\n"
                                "showWatch = 0;\n"
                                "\n"
                                "class Weapons\n"
                                "{\n"
                                "\t// Add the weapons to the mission gear\n"
                                "\tclass NVGoggles { count = 5; };\n"
                                "};\n"
                                "\n"
                                "// NOTE: Your sound/radio files must be in the ...\\mission\\sound\n"
                                "// folder and your music files in the ...\\mission\\music folder.\n"
                                "class CfgRadio\n"
                                "{\n"
                                "\t// List of sounds (.ogg files without the .ogg extension)\n"
                                "\tsounds[] = {Intro.OGG};\n"
                                "\n"
                                "\t// Definition for each sound\n"
                                "\tclass Intro.OGG\n"
                                "\t{\n"
                                "\t\tname = \"Intro.OGG\"; // Name for mission editor\n"
                                "\t\tsound[] = {\\sound\\Intro.OGG, db + 0, 1.0};\n"
                                "\t\ttitle = \"\"; // Text for radio message\n"
                                "\t};\n"
                                "};\n"));
        QCOMPARE(pDoc->Template().Type().eKind, EDocKind::Description);
    }

    void descriptionFailureKeepsEverything()
    {
        SWizardFixture f;
        CDescriptionDlg dialog(f.Context(false));
        dialog.show();
        Child<QCheckBox>(dialog, "addGear")->click();
        Click(dialog, QStringLiteral("Add"));
        Click(dialog, QStringLiteral("Create Description File"));
        QCOMPARE(f.Messages(), QStringList{QStringLiteral("Error creating Description!")});
        QCOMPARE(f.Captions(), QStringList{QStringLiteral("FILE ERROR")});
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.result(), 0);
        QCOMPARE(dialog.Form().weaponRows.size(), 1);
    }

    void unitOpensFromUnitData_data()
    {
        QTest::addColumn<bool>("bVelk");
        QTest::addColumn<QStringList>("primary");
        QTest::addColumn<QString>("sPrimaryCaption");
        QTest::addColumn<QString>("sSecondaryCaption");
        QTest::addColumn<int>("nHandgunMax");
        QTest::newRow("newer game") << true << QStringList{"NONE", "M16A2", "M16A4_GL", "M249"}
                                    << "Primary Magazines (0/12)"
                                    << "Secondary Magazines (0/8)" << 8;
        QTest::newRow("older game") << false << QStringList{"NONE", "M16", "M16GL"} << "Primary Magazines (0/10)"
                                    << "Secondary Magazines (0/4)" << 4;
    }
    void unitOpensFromUnitData()
    {
        QFETCH(bool, bVelk);
        QFETCH(QStringList, primary);
        QFETCH(int, nHandgunMax);
        QFETCH(QString, sSecondaryCaption);
        SWizardFixture f(bVelk);
        f.Run<CUnitDlg>(kUnit, [&](CUnitDlg& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Custom Unit Wizard"));
            QCOMPARE(ComboTexts(Child<QComboBox>(dialog, "primary")), primary);
            QCOMPARE(Child<QComboBox>(dialog, "primary")->currentIndex(), 0);
            QCOMPARE(Child<QLineEdit>(dialog, "name")->text(), QStringLiteral("UNIT_42"));
            QTEST(Child<QLabel>(dialog, "primaryCaption")->text(), "sPrimaryCaption");
            QCOMPARE(Child<QLabel>(dialog, "secondaryCaption")->text(), sSecondaryCaption);
            QCOMPARE(Child<QCheckBox>(dialog, "sniperUnit")->isEnabled(), !bVelk);
            QVERIFY(Child<QCheckBox>(dialog, "removeGear")->isChecked());
            QVERIFY(Child<QLabel>(dialog, "overloaded")->isHidden());
            for (const char* pszCount : {"primaryMags", "grenades", "flares", "rockets", "handgunMags"})
                QVERIFY2(!Child<QSpinBox>(dialog, pszCount)->isEnabled(), pszCount);
            QListWidget* pEquipment = Child<QListWidget>(dialog, "equipment");
            QCOMPARE(ListTexts(pEquipment).first(), bVelk ? QStringLiteral("(0) Medikit") : QStringLiteral("(0) Mine"));
            QCOMPARE(pEquipment->currentRow(), 0);
            // Handgun magazines stop at the game's limit.
            Child<QComboBox>(dialog, "handgun")->setCurrentIndex(1);
            QSpinBox* pHandgunMags = Child<QSpinBox>(dialog, "handgunMags");
            QVERIFY(pHandgunMags->isEnabled());
            StepUp(pHandgunMags, 12);
            QCOMPARE(pHandgunMags->value(), nHandgunMax);
            QCOMPARE(Child<QLabel>(dialog, "secondaryCaption")->text(),
                     QStringLiteral("Secondary Magazines (%1/%1)").arg(nHandgunMax));
            // Back to NONE: the count goes and the figures with it.
            Child<QComboBox>(dialog, "handgun")->setCurrentIndex(0);
            QCOMPARE(pHandgunMags->value(), 0);
            QVERIFY(!pHandgunMags->isEnabled());
            QCOMPARE(Child<QLabel>(dialog, "secondaryCaption")->text(), sSecondaryCaption);
            dialog.reject();
        });
    }

    void unitPrimaryChoiceEnablesItsCounts()
    {
        SWizardFixture f;
        f.Run<CUnitDlg>(kUnit, [&](CUnitDlg& dialog) {
            QComboBox* pPrimary = Child<QComboBox>(dialog, "primary");
            QSpinBox* pMags = Child<QSpinBox>(dialog, "primaryMags");
            QSpinBox* pGrenades = Child<QSpinBox>(dialog, "grenades");
            QSpinBox* pFlares = Child<QSpinBox>(dialog, "flares");
            QLabel* pPrimaryCaption = Child<QLabel>(dialog, "primaryCaption");
            QLabel* pSecondaryCaption = Child<QLabel>(dialog, "secondaryCaption");
            Choose(pPrimary, QStringLiteral("M16A4_GL"));
            QVERIFY(pMags->isEnabled());
            QVERIFY(pGrenades->isEnabled());
            QVERIFY(pFlares->isEnabled());
            StepUp(pMags, 2);
            StepUp(pGrenades, 3);
            StepUp(pFlares, 2);
            // The newer game carries the launcher's load in the secondary slots.
            QCOMPARE(pPrimaryCaption->text(), QStringLiteral("Primary Magazines (2/12)"));
            QCOMPARE(pSecondaryCaption->text(), QStringLiteral("Secondary Magazines (5/8)"));
            QCOMPARE(Child<QProgressBar>(dialog, "secondaryBar")->value(), 5);
            // A rifle without a launcher: grenades and flares go, magazines stay.
            Choose(pPrimary, QStringLiteral("M249"));
            QVERIFY(!pGrenades->isEnabled());
            QCOMPARE(pGrenades->value() + pFlares->value(), 0);
            QCOMPARE(pMags->value(), 2);
            QCOMPARE(pPrimaryCaption->text(), QStringLiteral("Primary Magazines (4/12)"));
            QCOMPARE(pSecondaryCaption->text(), QStringLiteral("Secondary Magazines (0/8)"));
            StepUp(pMags, 5);
            QCOMPARE(pPrimaryCaption->text(), QStringLiteral("Primary Magazines (14/12)"));
            QVERIFY(!Child<QLabel>(dialog, "overloaded")->isHidden());
            QCOMPARE(Child<QProgressBar>(dialog, "primaryBar")->value(), 12);
            Choose(pPrimary, QStringLiteral("NONE"));
            QCOMPARE(pMags->value(), 0);
            QVERIFY(!pMags->isEnabled());
            QVERIFY(Child<QLabel>(dialog, "overloaded")->isHidden());
            // The counts are the arrows' alone.
            Choose(pPrimary, QStringLiteral("M16A2"));
            pMags->setFocus();
            QTest::keyClicks(pMags, QStringLiteral("7"));
            QCOMPARE(pMags->value(), 0);
            QTest::keyClick(pMags, Qt::Key_Up);
            QCOMPARE(pMags->value(), 1);
            dialog.reject();
        });
    }

    void unitOlderSniperKeepingHisGearIsOverloaded()
    {
        SWizardFixture f(false);
        f.Run<CUnitDlg>(kUnit, [&](CUnitDlg& dialog) {
            QComboBox* pSecondary = Child<QComboBox>(dialog, "secondary");
            Choose(pSecondary, QStringLiteral("LAW"));
            Child<QSpinBox>(dialog, "rockets")->stepUp();
            Child<QCheckBox>(dialog, "removeGear")->click();
            QCOMPARE(Child<QLabel>(dialog, "primaryCaption")->text(), QStringLiteral("Primary Magazines (8/10)"));
            Child<QCheckBox>(dialog, "sniperUnit")->click();
            QCOMPARE(pSecondary->currentIndex(), 0);
            QVERIFY(!pSecondary->isEnabled());
            QVERIFY(!Child<QSpinBox>(dialog, "rockets")->isEnabled());
            QCOMPARE(Child<QSpinBox>(dialog, "rockets")->value(), 0);
            QCOMPARE(Child<QLabel>(dialog, "primaryCaption")->text(), QStringLiteral("Primary Magazines (10/4)"));
            QCOMPARE(Child<QProgressBar>(dialog, "primaryBar")->maximum(), 4);
            QVERIFY(!Child<QLabel>(dialog, "overloaded")->isHidden());
            QCOMPARE(Child<QLabel>(dialog, "overloaded")->text(),
                     QStringLiteral("OVERLOADED !\nUnit will not work properly."));
            QCOMPARE(Child<QLabel>(dialog, "overloaded")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
            Child<QCheckBox>(dialog, "sniperUnit")->click();
            QVERIFY(pSecondary->isEnabled());
            QCOMPARE(Child<QLabel>(dialog, "primaryCaption")->text(), QStringLiteral("Primary Magazines (4/10)"));
            QVERIFY(Child<QLabel>(dialog, "overloaded")->isHidden());
            dialog.reject();
        });
    }

    void unitEquipmentRowsCount()
    {
        SWizardFixture f;
        f.Run<CUnitDlg>(kUnit, [&](CUnitDlg& dialog) {
            QListWidget* pEquipment = Child<QListWidget>(dialog, "equipment");
            QPushButton* pAdd = Child<QPushButton>(dialog, "addOne");
            QPushButton* pRemove = Child<QPushButton>(dialog, "removeOne");
            pRemove->click();  // never below 0
            QCOMPARE(pEquipment->item(0)->text(), QStringLiteral("(0) Medikit"));
            pAdd->click();
            QCOMPARE(pEquipment->item(0)->text(), QStringLiteral("(1) Medikit"));
            pEquipment->setCurrentRow(1);
            emit pEquipment->itemDoubleClicked(pEquipment->item(1));
            pAdd->click();
            QCOMPARE(ListTexts(pEquipment), QStringList({"(1) Medikit", "(2) Satchel"}));
            QCOMPARE(pEquipment->currentRow(), 1);
            QCOMPARE(Child<QLabel>(dialog, "primaryCaption")->text(), QStringLiteral("Primary Magazines (8/12)"));
            pRemove->click();
            QCOMPARE(pEquipment->item(1)->text(), QStringLiteral("(1) Satchel"));
            QCOMPARE(Child<QLabel>(dialog, "primaryCaption")->text(), QStringLiteral("Primary Magazines (5/12)"));
            // Reset: every count and choice back where it began, a new name.
            Click(dialog, QStringLiteral("&Reset Unit"));
            QCOMPARE(ListTexts(pEquipment), QStringList({"(0) Medikit", "(0) Satchel"}));
            QCOMPARE(Child<QLineEdit>(dialog, "name")->text(), QStringLiteral("UNIT_43"));
            QCOMPARE(Child<QLabel>(dialog, "primaryCaption")->text(), QStringLiteral("Primary Magazines (0/12)"));
            dialog.reject();
        });
    }

    void unitWithoutSectionsSelectsNothing()
    {
        SWizardFixture f;
        f.start.App().Dictionary().m_arUnitData = QStringList{"[PRIMARY WEAPONS VELK]", "junk line", "M16,Mag,1"};
        f.start.Prompter().m_answers = {EAnswer::No};
        f.Run<CUnitDlg>(kUnit, [&](CUnitDlg& dialog) {
            QCOMPARE(ComboTexts(Child<QComboBox>(dialog, "primary")), QStringList({"NONE", "M16"}));
            QCOMPARE(ComboTexts(Child<QComboBox>(dialog, "handgun")), QStringList({"NONE", "ERROR: Not Available"}));
            QListWidget* pEquipment = Child<QListWidget>(dialog, "equipment");
            QCOMPARE(ListTexts(pEquipment), QStringList{"ERROR: Not Available"});
            Child<QPushButton>(dialog, "addOne")->click();
            QCOMPARE(ListTexts(pEquipment), QStringList{"ERROR: Not Available"});
            Choose(Child<QComboBox>(dialog, "handgun"), QStringLiteral("ERROR: Not Available"));
            QVERIFY(!Child<QSpinBox>(dialog, "handgunMags")->isEnabled());
            Click(dialog, QStringLiteral("Create Unit Script"));
        });
        const QString sText = f.Active()->PlainText();
        QVERIFY(!sText.contains(QLatin1String("addWeapon")));
        QVERIFY(!sText.contains(QLatin1String("addMagazine")));
    }

    void unitCreateAnotherThenStop()
    {
        SWizardFixture f;
        f.start.Prompter().m_answers = {EAnswer::Yes, EAnswer::No};
        const int nResult = f.Run<CUnitDlg>(kUnit, [&](CUnitDlg& dialog) {
            Choose(Child<QComboBox>(dialog, "primary"), QStringLiteral("M16A4_GL"));
            Child<QSpinBox>(dialog, "primaryMags")->stepUp();
            Child<QSpinBox>(dialog, "flares")->stepUp();
            Choose(Child<QComboBox>(dialog, "handgun"), QStringLiteral("M9"));
            Child<QCheckBox>(dialog, "nvGoggles")->click();
            Click(dialog, QStringLiteral("Create Unit Script"));
            QVERIFY(dialog.isVisible());
            QCOMPARE(Child<QComboBox>(dialog, "primary")->currentIndex(), 0);
            QCOMPARE(Child<QLineEdit>(dialog, "name")->text(), QStringLiteral("UNIT_43"));
            QVERIFY(!Child<QCheckBox>(dialog, "nvGoggles")->isChecked());
            Click(dialog, QStringLiteral("Create Unit Script"));
        });
        QCOMPARE(nResult, int(QDialog::Accepted));
        QCOMPARE(f.Messages(), QStringList({kCreateAnother, kCreateAnother}));
        const QList<CScriptDoc*> docs = f.start.App().Documents().AllDocuments();
        QCOMPARE(docs.size(), 2);
        CScriptDoc* pFirst = docs.first()->GetTitle() == QLatin1String("UNIT_42*") ? docs.first() : docs.last();
        QCOMPARE(pFirst->GetTitle(), QStringLiteral("UNIT_42*"));
        QCOMPARE(pFirst->PlainText(),
                 QStringLiteral("; ****************************************************************\n"
                                "; Custom unit script for Velk Vanguard\n"
                                "; Created with Velk Edit - Version 1.3.4000\n"
                                "; HELP: Run this script from the INITIALIZATION box of the unit.\n"
                                "; CODE: [this] exec \"UNIT_42.sqs\"\n"
                                "; ****************************************************************\n"
                                "\n"
                                "; Get the unit parameter given\n"
                                "_unit = _this select 0\n"
                                "\n"
                                "; Strip the units current gear\n"
                                "removeAllWeapons _unit\n"
                                "\n"
                                "; Add the new gear to the unit\n"
                                "_unit addMagazine \"Mag30\"\n"
                                "_unit addMagazine \"FlareWhite_M203\"\n"
                                "_unit addWeapon \"M16A4_GL\"\n"
                                "_unit selectWeapon \"M16Muzzle\"\n"
                                "_unit addWeapon \"M9\"\n"
                                "_unit addWeapon \"NVGoggles\"\n"
                                "\n"
                                "Exit\n"));
    }

    void unitFailureClosesTheDialog()
    {
        SWizardFixture f;
        CUnitDlg dialog(f.Context(false));
        dialog.show();
        Click(dialog, QStringLiteral("Create Unit Script"));
        QCOMPARE(f.Messages(), QStringList{QStringLiteral("Error creating script.")});
        QCOMPARE(f.Captions(), QStringList{QStringLiteral("FILE ERROR")});
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }

    void nameFieldSelectsItsTextOnFocus()
    {
        SWizardFixture f;
        CCrateDlg dialog(f.Context(true));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QLineEdit* pName = Child<QLineEdit>(dialog, "name");
        pName->deselect();
        Child<QComboBox>(dialog, "weapons")->setFocus();
        QTest::keyClick(&dialog, Qt::Key_N, Qt::AltModifier);
        QVERIFY(pName->hasFocus());
        QTRY_COMPARE(pName->selectedText(), QStringLiteral("CRATE_42"));
    }

    void everyControlIsReachableAndNothingIsCut_data()
    {
        QTest::addColumn<int>("nWizard");
        QTest::newRow("crate") << 0;
        QTest::newRow("description") << 1;
        QTest::newRow("unit") << 2;
    }
    void everyControlIsReachableAndNothingIsCut()
    {
        QFETCH(int, nWizard);
        SWizardFixture f(true, false);
        std::unique_ptr<QDialog> pDialog;
        if (nWizard == 0)
            pDialog = std::make_unique<CCrateDlg>(f.Context(true));
        else if (nWizard == 1)
            pDialog = std::make_unique<CDescriptionDlg>(f.Context(true));
        else
            pDialog = std::make_unique<CUnitDlg>(f.Context(true));
        QDialog& dialog = *pDialog;
        // Everything shown and enabled, as a user who filled it in sees it.
        for (QCheckBox* pCheck : dialog.findChildren<QCheckBox*>())
            if (pCheck->objectName().startsWith(QLatin1String("add")))
                pCheck->click();
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QStringList clipped = Clipped(dialog);
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QStringLiteral(", "))));
        const QStringList overlapping = Overlapping(dialog);
        QVERIFY2(overlapping.isEmpty(), qPrintable(overlapping.join(QStringLiteral(", "))));
        // Every label leads somewhere: a control of its own or none at all.
        for (QLabel* pLabel : dialog.findChildren<QLabel*>())
            if (pLabel->text().contains(u'&'))
                QVERIFY2(pLabel->buddy(), qPrintable(pLabel->text()));
        // Tab reaches every enabled input.
        QSet<QWidget*> reached;
        QWidget* pFirst = dialog.nextInFocusChain();
        QWidget* pWidget = pFirst;
        for (int i = 0; i < 500 && pWidget; ++i) {
            reached.insert(pWidget);
            pWidget = pWidget->nextInFocusChain();
            if (pWidget == pFirst)
                break;
        }
        for (QWidget* pInput : dialog.findChildren<QWidget*>()) {
            const bool bInput = qobject_cast<QAbstractButton*>(pInput) || qobject_cast<QComboBox*>(pInput)
                || qobject_cast<QAbstractSpinBox*>(pInput) || qobject_cast<QListWidget*>(pInput)
                || (qobject_cast<QLineEdit*>(pInput) && !qobject_cast<QAbstractSpinBox*>(pInput->parentWidget()));
            if (bInput && pInput->isVisible())
                QVERIFY2(reached.contains(pInput) && pInput->focusPolicy() & Qt::TabFocus,
                         qPrintable(pInput->objectName() + u' ' + pInput->metaObject()->className()));
        }
    }

    void picturesOfTheWizardsFilledIn()
    {
        if (qEnvironmentVariableIsEmpty("VELK_WIZARD_PICTURES"))
            QSKIP("set VELK_WIZARD_PICTURES to a folder to get the pictures");
        SWizardFixture f(true, false);
        {
            CCrateDlg dialog(f.Context(true));
            dialog.show();
            Click(dialog, QStringLiteral("Add Weapons"));
            Click(dialog, QStringLiteral("Add Magazines"));
            Click(dialog, QStringLiteral("Add Equipment"));
            Child<QListWidget>(dialog, "crate")->setCurrentRow(1);
            Picture(dialog, "crate-wizard.png");
        }
        {
            f.start.Prompter().m_openManyNames = {{"/m/alarm.ogg", "/m/siren.ogg"}};
            CDescriptionDlg dialog(f.Context(true));
            dialog.show();
            for (const char* pszCheck : {"addGear", "addRespawn", "addSounds", "showCompass", "showWatch"})
                Child<QCheckBox>(dialog, pszCheck)->click();
            Child<QSpinBox>(dialog, "highScore")->setValue(100);
            Child<QSpinBox>(dialog, "avgScore")->setValue(50);
            for (QPushButton* pAdd : AddButtons(dialog))
                pAdd->click();
            Click(dialog, QStringLiteral("Add F&iles..."));
            Picture(dialog, "description-wizard.png");
        }
        {
            CUnitDlg dialog(f.Context(true));
            dialog.show();
            Child<QComboBox>(dialog, "primary")->setCurrentIndex(2);
            StepUp(Child<QSpinBox>(dialog, "primaryMags"), 8);
            StepUp(Child<QSpinBox>(dialog, "grenades"), 3);
            Child<QComboBox>(dialog, "secondary")->setCurrentIndex(1);
            StepUp(Child<QSpinBox>(dialog, "rockets"), 1);
            Child<QPushButton>(dialog, "addOne")->click();
            Child<QCheckBox>(dialog, "binoculars")->click();
            Picture(dialog, "unit-wizard.png");
        }
    }
};

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TestMissionWizards test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_missionwizards.moc"
