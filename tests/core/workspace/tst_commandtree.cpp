#include "core/app/appinfo.h"
#include "core/data/dictionary.h"
#include "core/workspace/commandtree.h"

#include <QUrl>
#include <QtTest>

namespace {

// A weapon record as "name:mag1,mag2"; an empty name leaves the record empty.
void FillWeapons(CWeaponTable& table, const QStringList& records)
{
    for (int i = 0; i < records.size(); ++i) {
        const QString sName = records[i].section(u':', 0, 0);
        const QString sMags = records[i].section(u':', 1);
        table[i].sName = sName;
        table[i].arAmmo = sMags.isEmpty() ? QStringList() : sMags.split(u',');
    }
}

// The tree one line per item, two blanks of indent per level.
void Outline(const QList<SCommandNode>& nodes, int nDepth, QStringList& lines)
{
    for (const SCommandNode& node : nodes) {
        lines.append(QString(nDepth * 2, u' ') + node.sText);
        Outline(node.children, nDepth + 1, lines);
    }
}

QStringList Outline(const QList<SCommandNode>& nodes)
{
    QStringList lines;
    Outline(nodes, 0, lines);
    return lines;
}

}  // namespace

class TestCommandTree : public QObject
{
    Q_OBJECT

private slots:
    void buildsTheFiveCategories_data();
    void buildsTheFiveCategories();
    void sameListsInAnyOrderGiveTheSameTree();
    void helpAddressUsesTheFirstCharacter_data();
    void helpAddressUsesTheFirstCharacter();
    void helpPageIsTheCommandReferenceIndex();
};

void TestCommandTree::buildsTheFiveCategories_data()
{
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<QStringList>("infantry");
    QTest::addColumn<QStringList>("vehicleWeapons");
    QTest::addColumn<QStringList>("vehicles");
    QTest::addColumn<QStringList>("equipment");
    QTest::addColumn<QString>("outline");

    QTest::newRow("empty lists: Not Available, but never under weapons")
        << QStringList() << QStringList() << QStringList() << QStringList() << QStringList() << R"(Commands
  Not Available
Infantry Weapons
Vehicle/Static Weapons
Vehicles
  Not Available
Equipment
  Not Available)";
    QTest::newRow("no vehicles only, commands bare, the rest quoted")
        << QStringList{"sideChat"} << QStringList{"M16:Mag30"} << QStringList{"M2:M2Belt"} << QStringList()
        << QStringList{"NVGoggles"} << R"(Commands
  sideChat
Infantry Weapons
  "M16"
    "Mag30"
Vehicle/Static Weapons
  "M2"
    "M2Belt"
Vehicles
  Not Available
Equipment
  "NVGoggles")";
    QTest::newRow("sort ignores case") << QStringList{"setDamage", "alive", "Abs", "zoom", "Bogus"} << QStringList()
                                       << QStringList() << QStringList{"uaz", "BMP2", "abrams"} << QStringList()
                                       << R"(Commands
  Abs
  alive
  Bogus
  setDamage
  zoom
Infantry Weapons
Vehicle/Static Weapons
Vehicles
  "abrams"
  "BMP2"
  "uaz"
Equipment
  Not Available)";
    QTest::newRow("weapons sorted, empty records skipped, magazines in list order")
        << QStringList{"a"} << QStringList{"m16:Z_mag,A_mag", ":", "AK74:Mag_AK,Grenade", "Bizon:"}
        << QStringList{"M2:Belt", "", "browning:X"} << QStringList{"v"} << QStringList{"e"} << R"(Commands
  a
Infantry Weapons
  "AK74"
    "Mag_AK"
    "Grenade"
  "Bizon"
  "m16"
    "Z_mag"
    "A_mag"
Vehicle/Static Weapons
  "browning"
    "X"
  "M2"
    "Belt"
Vehicles
  "v"
Equipment
  "e")";
    QTest::newRow("equal ignoring case: by exact text")
        << QStringList{"abc", "ABC", "Abc"} << QStringList{"mg:b", "MG:a"} << QStringList() << QStringList{"x"}
        << QStringList{"y"} << R"(Commands
  ABC
  Abc
  abc
Infantry Weapons
  "MG"
    "a"
  "mg"
    "b"
Vehicle/Static Weapons
Vehicles
  "x"
Equipment
  "y")";
    QTest::newRow("identical weapons keep their record order")
        << QStringList{"c"} << QStringList{"M16:first", "M16:second"} << QStringList() << QStringList{"x"}
        << QStringList{"y"} << R"(Commands
  c
Infantry Weapons
  "M16"
    "first"
  "M16"
    "second"
Vehicle/Static Weapons
Vehicles
  "x"
Equipment
  "y")";
}

void TestCommandTree::buildsTheFiveCategories()
{
    QFETCH(QStringList, commands);
    QFETCH(QStringList, infantry);
    QFETCH(QStringList, vehicleWeapons);
    QFETCH(QStringList, vehicles);
    QFETCH(QStringList, equipment);
    QFETCH(QString, outline);

    CDictionary dict;
    dict.m_arCommands = commands;
    dict.m_arVehicles = vehicles;
    dict.m_arEquipment = equipment;
    FillWeapons(dict.m_InfWeaponMags, infantry);
    FillWeapons(dict.m_VehWeaponMags, vehicleWeapons);
    QCOMPARE(Outline(CommandTree::Build(dict)), outline.split(u'\n'));
}

void TestCommandTree::sameListsInAnyOrderGiveTheSameTree()
{
    const QStringList names{"sideChat", "SideChat", "SIDECHAT", "alive", "Alive", "_x", "zoom", "Zoom"};
    CDictionary forward;
    forward.m_arCommands = names;
    CDictionary backward;
    for (const QString& sName : names)
        backward.m_arCommands.prepend(sName);
    CDictionary rotated;
    rotated.m_arCommands = names.mid(3) + names.mid(0, 3);

    const QList<SCommandNode> tree = CommandTree::Build(forward);
    QCOMPARE(CommandTree::Build(backward), tree);
    QCOMPARE(CommandTree::Build(rotated), tree);
    QStringList shown;
    for (const SCommandNode& node : tree[CommandTree::kCommands].children)
        shown.append(node.sText);
    QCOMPARE(shown, (QStringList{"_x", "Alive", "alive", "SIDECHAT", "SideChat", "sideChat", "Zoom", "zoom"}));
}

void TestCommandTree::helpAddressUsesTheFirstCharacter_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("query");

    QTest::newRow("sideChat") << "sideChat"
                              << "?action=list&game=All&letter=s";
    QTest::newRow("case kept") << "SetDamage"
                               << "?action=list&game=All&letter=S";
    QTest::newRow("one character") << "x"
                                   << "?action=list&game=All&letter=x";
}

void TestCommandTree::helpAddressUsesTheFirstCharacter()
{
    QFETCH(QString, item);
    QFETCH(QString, query);
    QCOMPARE(CommandTree::HelpAddress(item), AppInfo::kCommandReferencePage + query);
}

void TestCommandTree::helpPageIsTheCommandReferenceIndex()
{
    QVERIFY(CommandTree::HelpAddress(QString()).isEmpty());
    const QUrl url(AppInfo::kCommandReferencePage);
    QVERIFY(url.isValid());
    QCOMPARE(url.path(), QStringLiteral("/COMREF/index.php"));
    QCOMPARE(url.host(), AppInfo::kCommandReferenceHost);
    QVERIFY(url.query().isEmpty());
}

QTEST_APPLESS_MAIN(TestCommandTree)
#include "tst_commandtree.moc"
