#include "core/controls/fontlist.h"

#include <QtTest>

namespace {

// "Name" is a proportional outline font, "Name/f" fixed-pitch, "Name/b" a
// bitmap font, "Name/fb" both.
SFontFace Face(const QString& sCode)
{
    const QString sFlags = sCode.section(u'/', 1);
    return {sCode.section(u'/', 0, 0), sFlags.contains(u'f'), !sFlags.contains(u'b')};
}

QList<SFontFace> Faces(const QStringList& codes)
{
    QList<SFontFace> faces;
    for (const QString& sCode : codes)
        faces.append(Face(sCode));
    return faces;
}

QStringList Shown(const QList<SFontFace>& faces)
{
    QStringList shown;
    for (const SFontFace& face : faces)
        shown.append(FontList::DisplayText(face) + (face.bScalable ? QString() : QStringLiteral(" (bitmap)")));
    return shown;
}

}  // namespace

class TestFontList : public QObject
{
    Q_OBJECT

private slots:
    void build_data();
    void build();
    void indexOfIsExact_data();
    void indexOfIsExact();
    void faceInUse_data();
    void faceInUse();
};

void TestFontList::build_data()
{
    QTest::addColumn<QStringList>("reported");
    QTest::addColumn<QStringList>("shown");

    QTest::newRow("a face reported for several character sets is listed once")
        << QStringList{"Courier New/f", "Arial", "Courier New/f", "Courier New/f"}
        << QStringList{"Arial", "Courier New *"};
    QTest::newRow("fixed-pitch faces carry the mark, others none")
        << QStringList{"Courier New/f", "Tahoma", "Terminal/fb"}
        << QStringList{"Courier New *", "Tahoma", "Terminal * (bitmap)"};
    QTest::newRow("sorted by name whatever the case")
        << QStringList{"verdana", "Arial", "courier", "Bitstream Charter"}
        << QStringList{"Arial", "Bitstream Charter", "courier", "verdana"};
    QTest::newRow("names differing only in case are two faces")
        << QStringList{"arial", "Arial", "ARIAL"} << QStringList{"ARIAL", "Arial", "arial"};
    QTest::newRow("the mark takes no part in the order")
        << QStringList{"Mono B", "Mono/f", "Mono A/f"} << QStringList{"Mono *", "Mono A *", "Mono B"};
    QTest::newRow("vertical-writing faces are left out")
        << QStringList{"@MS Mincho/f", "MS Mincho/f", "@Gulim"} << QStringList{"MS Mincho *"};
    QTest::newRow("a nameless face is left out") << QStringList{"", "Arial"} << QStringList{"Arial"};
    QTest::newRow("the record reported last wins") << QStringList{"Fixedsys/fb", "Fixedsys"} << QStringList{"Fixedsys"};
    QTest::newRow("one of three repeats apart from the others")
        << QStringList{"Zed", "Alpha", "Zed", "Mid", "Zed/f"} << QStringList{"Alpha", "Mid", "Zed *"};
    QTest::newRow("nothing installed") << QStringList{} << QStringList{};
}

void TestFontList::build()
{
    QFETCH(QStringList, reported);
    QFETCH(QStringList, shown);
    QCOMPARE(Shown(FontList::Build(Faces(reported))), shown);
}

void TestFontList::indexOfIsExact_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("index");
    QTest::newRow("the family itself") << "Courier New" << 1;
    QTest::newRow("another case is not it") << "courier new" << -1;
    QTest::newRow("the shown text with its mark is not it") << "Courier New *" << -1;
    QTest::newRow("a prefix is not it") << "Courier" << -1;
    QTest::newRow("empty") << "" << -1;
}

void TestFontList::indexOfIsExact()
{
    QFETCH(QString, family);
    QFETCH(int, index);
    const QList<SFontFace> listed = FontList::Build(Faces({"Courier New/f", "Arial", "Tahoma"}));
    QCOMPARE(FontList::IndexOf(listed, family), index);
}

void TestFontList::faceInUse_data()
{
    QTest::addColumn<QString>("requested");
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QString>("used");

    const QStringList debianBase{"DejaVu Sans", "DejaVu Sans Mono/f", "DejaVu Serif"};
    QTest::newRow("installed: used as asked")
        << "Courier New" << QStringList{"Courier New/f", "Liberation Mono/f"} << "Courier New";
    QTest::newRow("installed in another case: its own spelling")
        << "courier new" << QStringList{"Courier New/f"} << "Courier New";
    QTest::newRow("installed by two makers")
        << "Courier New" << QStringList{"Courier New [Monotype]/f"} << "Courier New [Monotype]";
    QTest::newRow("missing: its metric twin")
        << "Courier New" << QStringList{"DejaVu Sans Mono/f", "Liberation Mono/f"} << "Liberation Mono";
    QTest::newRow("missing: the second twin when the first is missing too")
        << "Courier New" << QStringList{"DejaVu Sans Mono/f", "Cousine/f"} << "Cousine";
    QTest::newRow("missing: the first twin before the second")
        << "Courier New" << QStringList{"Cousine/f", "Liberation Mono/f"} << "Liberation Mono";
    QTest::newRow("missing, asked in lower case: still its twin")
        << "courier new" << QStringList{"Liberation Mono/f"} << "Liberation Mono";
    QTest::newRow("missing without twins: a monospace family") << "Courier New" << debianBase << "DejaVu Sans Mono";
    QTest::newRow("a proportional face has its own twin")
        << "Arial" << QStringList{"DejaVu Sans Mono/f", "Liberation Sans", "Liberation Mono/f"} << "Liberation Sans";
    QTest::newRow("an unknown face: a monospace family") << "Lucida Console" << debianBase << "DejaVu Sans Mono";
    QTest::newRow("no known monospace family: any fixed-pitch one")
        << "Courier New" << QStringList{"Zeta Sans", "Typewriter/f", "Alpha Sans"} << "Typewriter";
    QTest::newRow("nothing fixed-pitch: the first listed")
        << "Courier New" << QStringList{"Zeta Sans", "Alpha Sans"} << "Alpha Sans";
    QTest::newRow("nothing installed") << "Courier New" << QStringList{} << "";
}

void TestFontList::faceInUse()
{
    QFETCH(QString, requested);
    QFETCH(QStringList, installed);
    QFETCH(QString, used);
    QCOMPARE(FontList::FaceInUse(requested, Faces(installed)), used);
}

QTEST_GUILESS_MAIN(TestFontList)
#include "tst_fontlist.moc"
