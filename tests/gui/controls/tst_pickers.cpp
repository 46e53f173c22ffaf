#include "core/app/settings.h"
#include "gui/controls/colorcombo.h"
#include "gui/controls/fontcombo.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QDir>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QSet>
#include <QSignalSpy>
#include <QStyleOptionViewItem>
#include <QTimer>
#include <QtTest>

#include <optional>

Q_DECLARE_METATYPE(std::optional<QColor>)

namespace {

// Stands in for the colour dialog: answers what the test scripted and keeps
// what it was asked.
struct SScriptedDialog
{
    explicit SScriptedDialog(std::optional<QColor> scripted) : answer(std::move(scripted)) { }

    std::optional<QColor> answer;
    int nCalls = 0;
    QColor crAskedWith;

    CColorCombo::ColourDialog Dialog()
    {
        return [this](const QColor& crInitial, QWidget*) {
            ++nCalls;
            crAskedWith = crInitial;
            return answer;
        };
    }
};

enum class EChooseBy { ArrowOnClosedBox, OpenListAndEnter };

void ChooseCustom(CColorCombo& combo, EChooseBy eBy)
{
    if (eBy == EChooseBy::ArrowOnClosedBox) {
        combo.setCurrentIndex(CColourList::nCustomIndex - 1);
        QTest::keyClick(&combo, Qt::Key_Down);
        return;
    }
    combo.showPopup();
    QAbstractItemView* pView = combo.view();
    QVERIFY(pView->isVisible());
    QTest::keyClick(pView, Qt::Key_End);
    QTest::keyClick(pView, Qt::Key_Return);
}

// What a screen reader names the control by: on this desktop a combo box
// names itself by its value and points at its label for what it is.
QStringList LabelledBy(QObject* pObject)
{
    QStringList labels;
    QAccessibleInterface* pInterface = QAccessible::queryAccessibleInterface(pObject);
    if (!pInterface)
        return labels;
    for (const auto& relation : pInterface->relations(QAccessible::Label))
        labels.append(relation.first->text(QAccessible::Name));
    return labels;
}

QString AccessibleValue(QObject* pObject)
{
    QAccessibleInterface* pInterface = QAccessible::queryAccessibleInterface(pObject);
    return pInterface ? pInterface->text(QAccessible::Value) : QString();
}

// One row of a combo's list as its delegate draws it, on a known background.
QImage RenderRow(const QComboBox& combo, int nRow, bool bSelected)
{
    QStyleOptionViewItem option;
    option.initFrom(combo.view());
    option.font = combo.font();
    option.widget = combo.view();
    option.state = QStyle::State_Enabled | (bSelected ? QStyle::State_Selected : QStyle::State_None);
    const QModelIndex index = combo.model()->index(nRow, 0);
    const QSize size = combo.itemDelegate()->sizeHint(option, index);
    option.rect = QRect(QPoint(0, 0), QSize(qMax(size.width(), 160), size.height()));
    QImage image(option.rect.size(), QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QPainter painter(&image);
    combo.itemDelegate()->paint(&painter, option, index);
    return image;
}

// Pictures for a person to look at, written only when asked for.
void KeepPicture(const QImage& image, const QString& sName)
{
    const QString sDir = qEnvironmentVariable("VELK_PICTURES_DIR");
    if (!sDir.isEmpty())
        image.save(QDir(sDir).filePath(sName));
}

bool HasOtherThan(const QImage& image, const QRect& rcArea, QRgb rgbBackground)
{
    for (int y = rcArea.top(); y <= rcArea.bottom(); ++y) {
        for (int x = rcArea.left(); x <= rcArea.right(); ++x) {
            if (image.pixel(x, y) != rgbBackground)
                return true;
        }
    }
    return false;
}

}  // namespace

class TestPickers : public QObject
{
    Q_OBJECT

private slots:
    void selectColourRoundTrip_data();
    void selectColourRoundTrip();
    void customFromDialog_data();
    void customFromDialog();
    void namedChoiceAsksNothing();
    void realDialogCancelKeepsCustom();
    void colourSwatchDrawn_data();
    void colourSwatchDrawn();

    void fontFamiliesOnce();
    void installedFamiliesOnceAndMarked();
    void selectFont_data();
    void selectFont();
    void fontChoiceSignals();
    void fontGlyphOnlyForOutlineFonts();

    void keyboardAndNames();
    void pictures();
};

void TestPickers::selectColourRoundTrip_data()
{
    QTest::addColumn<int>("rgb");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selected");
    QTest::newRow("navy blue") << Rgb(0, 0, 128) << 7 << "Navy Blue" << Rgb(0, 0, 128);
    QTest::newRow("white is the named white") << Rgb(255, 255, 255) << 15 << "White" << Rgb(255, 255, 255);
    QTest::newRow("orange") << Rgb(255, 128, 0) << 9 << "Orange" << Rgb(255, 128, 0);
    QTest::newRow("custom keeps its value") << Rgb(1, 2, 3) << 20 << "Custom..." << Rgb(1, 2, 3);
    QTest::newRow("a stored top byte is dropped")
        << int(0xFF000000u | unsigned(Rgb(1, 2, 3))) << 20 << "Custom..." << Rgb(1, 2, 3);
}

void TestPickers::selectColourRoundTrip()
{
    QFETCH(int, rgb);
    QFETCH(int, index);
    QFETCH(QString, text);
    QFETCH(int, selected);
    CColorCombo combo(nullptr, Rgb(0, 0, 0));
    QCOMPARE(combo.count(), CColourList::nCount);
    QSignalSpy changes(&combo, &CColorCombo::SelectionChanged);
    combo.SelectColour(rgb);
    QCOMPARE(combo.currentIndex(), index);
    QCOMPARE(combo.currentText(), text);
    QCOMPARE(combo.SelectedColour(), selected);
    QCOMPARE(combo.SelectedQColor(), CColorCombo::ToQColor(selected));
    QCOMPARE(changes.count(), 0);
    // The list's own item data follows, so what is drawn is what is read.
    QCOMPARE(combo.itemData(index).toInt(), selected);

    // Red is the low byte of a stored colour, blue the high one.
    combo.SelectColour(Rgb(0, 0, 0));
    combo.SelectColour(QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF));
    QCOMPARE(combo.currentIndex(), index);
    QCOMPARE(combo.SelectedQColor(), QColor(selected & 0xFF, (selected >> 8) & 0xFF, (selected >> 16) & 0xFF));
}

void TestPickers::customFromDialog_data()
{
    QTest::addColumn<int>("chooseBy");
    QTest::addColumn<int>("startRgb");
    QTest::addColumn<std::optional<QColor>>("answer");
    QTest::addColumn<int>("customAfter");

    const int crCustom = Rgb(1, 2, 3);
    const auto addRows = [&](EChooseBy eBy, const char* pszHow) {
        QTest::addRow("%s: OK takes the chosen colour", pszHow)
            << int(eBy) << crCustom << std::optional<QColor>(QColor(10, 20, 30)) << Rgb(10, 20, 30);
        QTest::addRow("%s: cancel keeps the custom colour", pszHow)
            << int(eBy) << crCustom << std::optional<QColor>() << crCustom;
        QTest::addRow("%s: cancel keeps the first white", pszHow)
            << int(eBy) << Rgb(0, 0, 128) << std::optional<QColor>() << Rgb(255, 255, 255);
        QTest::addRow("%s: a named colour chosen stays custom", pszHow)
            << int(eBy) << crCustom << std::optional<QColor>(QColor(255, 0, 0)) << Rgb(255, 0, 0);
    };
    addRows(EChooseBy::ArrowOnClosedBox, "arrow key");
    addRows(EChooseBy::OpenListAndEnter, "open list");
}

void TestPickers::customFromDialog()
{
    QFETCH(int, chooseBy);
    QFETCH(int, startRgb);
    QFETCH(std::optional<QColor>, answer);
    QFETCH(int, customAfter);

    CColorCombo combo;
    combo.SelectColour(startRgb);
    const int crCustomBefore = combo.CustomColour();
    SScriptedDialog dialog(answer);
    combo.SetColourDialog(dialog.Dialog());
    combo.show();
    QVERIFY(QTest::qWaitForWindowExposed(&combo));
    QSignalSpy changes(&combo, &CColorCombo::SelectionChanged);

    ChooseCustom(combo, EChooseBy(chooseBy));

    QCOMPARE(dialog.nCalls, 1);
    QCOMPARE(dialog.crAskedWith, CColorCombo::ToQColor(crCustomBefore));
    QCOMPARE(combo.currentIndex(), CColourList::nCustomIndex);
    QCOMPARE(combo.SelectedColour(), customAfter);
    QCOMPARE(combo.CustomColour(), customAfter);
    QCOMPARE(combo.itemData(CColourList::nCustomIndex).toInt(), customAfter);
    QCOMPARE(changes.count(), 1);
}

void TestPickers::namedChoiceAsksNothing()
{
    CColorCombo combo(nullptr, Rgb(1, 2, 3));
    SScriptedDialog dialog(QColor(9, 9, 9));
    combo.SetColourDialog(dialog.Dialog());
    combo.show();
    QVERIFY(QTest::qWaitForWindowExposed(&combo));
    QSignalSpy changes(&combo, &CColorCombo::SelectionChanged);

    QTest::keyClick(&combo, Qt::Key_Up);
    QCOMPARE(combo.currentText(), QStringLiteral("Black"));
    QCOMPARE(combo.SelectedColour(), Rgb(0, 0, 0));
    QCOMPARE(changes.count(), 1);
    // Selecting from the program is no choice of the user's.
    combo.SelectColour(Rgb(7, 7, 7));
    QCOMPARE(changes.count(), 1);
    QCOMPARE(dialog.nCalls, 0);
    QCOMPARE(combo.CustomColour(), Rgb(7, 7, 7));
}

void TestPickers::realDialogCancelKeepsCustom()
{
    CColorCombo combo(nullptr, Rgb(1, 2, 3));
    combo.SelectColour(Rgb(0, 0, 128));
    combo.show();
    QVERIFY(QTest::qWaitForWindowExposed(&combo));
    bool bSawDialog = false;
    QColor crShown;
    QTimer::singleShot(0, [&] {
        auto* pDialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
        if (!pDialog)
            return;
        bSawDialog = true;
        crShown = pDialog->currentColor();
        pDialog->setCurrentColor(QColor(50, 60, 70));
        pDialog->reject();
    });
    ChooseCustom(combo, EChooseBy::ArrowOnClosedBox);
    QVERIFY(bSawDialog);
    QCOMPARE(crShown, QColor(1, 2, 3));
    QCOMPARE(combo.SelectedColour(), Rgb(1, 2, 3));
}

void TestPickers::colourSwatchDrawn_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<QColor>("swatch");
    QTest::newRow("navy blue") << 7 << false << QColor(0, 0, 128);
    QTest::newRow("black selected") << 19 << true << QColor(0, 0, 0);
    QTest::newRow("custom shows the custom colour") << 20 << false << QColor(200, 100, 50);
}

void TestPickers::colourSwatchDrawn()
{
    QFETCH(int, row);
    QFETCH(bool, selected);
    QFETCH(QColor, swatch);
    CColorCombo combo(nullptr, Rgb(200, 100, 50));
    const QImage image = RenderRow(combo, row, selected);
    const int nMid = image.height() / 2;
    const QPalette palette = combo.view()->palette();
    const QColor crBack = selected ? palette.highlight().color() : palette.base().color();
    QCOMPARE(image.pixelColor(0, nMid), crBack);
    QCOMPARE(image.pixelColor(2, nMid), QColor(Qt::black));
    QCOMPARE(image.pixelColor(14, nMid), swatch);
    QCOMPARE(image.pixelColor(26, nMid), QColor(Qt::black));
    QCOMPARE(image.pixelColor(14, 1), crBack);
    // The name is drawn after the swatch, in the colour of its state.
    const QColor crText = selected ? palette.highlightedText().color() : palette.text().color();
    bool bTextSeen = false;
    for (int x = 30; x < image.width() && !bTextSeen; ++x) {
        for (int y = 0; y < image.height() && !bTextSeen; ++y)
            bTextSeen = image.pixelColor(x, y) == crText;
    }
    QVERIFY(bTextSeen);
}

void TestPickers::fontFamiliesOnce()
{
    CFontCombo combo;
    combo.Fill({{"Courier New", true, true},
                {"Arial", false, true},
                {"Courier New", true, true},
                {"@Arial Unicode", false, true},
                {"Terminal", true, false}});
    QCOMPARE(combo.count(), 3);
    QCOMPARE(combo.itemText(0), QStringLiteral("Arial"));
    QCOMPARE(combo.itemText(1), QStringLiteral("Courier New"));
    QCOMPARE(combo.itemText(2), QStringLiteral("Terminal"));
    QCOMPARE(combo.SelectedFace(), QStringLiteral("Arial"));
    QCOMPARE(combo.model()->index(1, 0).data(Qt::AccessibleDescriptionRole).toString(), QStringLiteral("fixed-width"));

    combo.Fill({});
    QCOMPARE(combo.count(), 0);
    QCOMPARE(combo.SelectedFace(), QString());
    QVERIFY(!combo.SelectFont(QStringLiteral("Arial")));
    QCOMPARE(combo.FaceUsedFor(QStringLiteral("Arial")), QString());
}

void TestPickers::installedFamiliesOnceAndMarked()
{
    const CFontCombo combo;
    QVERIFY(combo.count() > 0);
    QCOMPARE(combo.currentIndex(), 0);
    QSet<QString> seen;
    for (int i = 0; i < combo.count(); ++i) {
        const QString sFamily = combo.itemText(i);
        QVERIFY2(!seen.contains(sFamily), qPrintable(sFamily));
        seen.insert(sFamily);
        QCOMPARE(combo.Faces()[i].bFixed, QFontDatabase::isFixedPitch(sFamily));
        if (i > 0)
            QVERIFY(combo.itemText(i - 1).compare(sFamily, Qt::CaseInsensitive) <= 0);
    }
    const QStringList installed = QFontDatabase::families();
    QCOMPARE(seen.size(), QSet<QString>(installed.cbegin(), installed.cend()).size());
    // Whatever stands in for the editor's usual face is one the list offers.
    const QString sUsed = combo.FaceUsedFor(QStringLiteral("Courier New"));
    QVERIFY(seen.contains(sUsed));
}

void TestPickers::selectFont_data()
{
    QTest::addColumn<QString>("face");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("selected");
    QTest::newRow("a listed face") << "Courier New" << true << "Courier New";
    QTest::newRow("the mark is not part of the name") << "Courier New *" << false << "Tahoma";
    QTest::newRow("another case is another name") << "courier new" << false << "Tahoma";
    QTest::newRow("a face not installed") << "Lucida Console" << false << "Tahoma";
}

void TestPickers::selectFont()
{
    QFETCH(QString, face);
    QFETCH(bool, found);
    QFETCH(QString, selected);
    CFontCombo combo;
    combo.Fill({{"Arial", false, true}, {"Courier New", true, true}, {"Tahoma", false, true}});
    QVERIFY(combo.SelectFont(QStringLiteral("Tahoma")));
    QSignalSpy changes(&combo, &CFontCombo::SelectionChanged);
    QCOMPARE(combo.SelectFont(face), found);
    QCOMPARE(combo.SelectedFace(), selected);
    QCOMPARE(changes.count(), 0);
}

void TestPickers::fontChoiceSignals()
{
    CFontCombo combo;
    combo.Fill({{"Arial", false, true}, {"Courier New", true, true}, {"Tahoma", false, true}});
    combo.show();
    QVERIFY(QTest::qWaitForWindowExposed(&combo));
    QSignalSpy changes(&combo, &CFontCombo::SelectionChanged);
    QTest::keyClick(&combo, Qt::Key_Down);
    QCOMPARE(combo.SelectedFace(), QStringLiteral("Courier New"));
    QCOMPARE(changes.count(), 1);
    QTest::keyClick(&combo, Qt::Key_End);
    QCOMPARE(combo.SelectedFace(), QStringLiteral("Tahoma"));
    QCOMPARE(changes.count(), 2);
}

void TestPickers::fontGlyphOnlyForOutlineFonts()
{
    CFontCombo combo;
    combo.Fill({{"Outline", false, true}, {"Bitmap", true, false}});
    const QImage outline = RenderRow(combo, 1, false);
    const QImage bitmap = RenderRow(combo, 0, false);
    const QRgb rgbBase = combo.view()->palette().base().color().rgb();
    const QRect rcGlyph(2, 0, 16, outline.height());
    QVERIFY(HasOtherThan(outline, rcGlyph, rgbBase));
    QVERIFY(!HasOtherThan(bitmap, rcGlyph, rgbBase));
    // Both names start where the glyph's room ends, marked or not.
    QVERIFY(HasOtherThan(outline, QRect(20, 0, 10, outline.height()), rgbBase));
    QVERIFY(HasOtherThan(bitmap, QRect(20, 0, 10, bitmap.height()), rgbBase));
}

void TestPickers::keyboardAndNames()
{
    QDialog dialog;
    auto* pLayout = new QHBoxLayout(&dialog);
    auto* pFontLabel = new QLabel(QStringLiteral("Doucuments Font"), &dialog);
    auto* pFont = new CFontCombo(&dialog);
    auto* pColourLabel = new QLabel(QStringLiteral("Item &Color"), &dialog);
    auto* pColour = new CColorCombo(&dialog);
    pFontLabel->setBuddy(pFont);
    pColourLabel->setBuddy(pColour);
    for (QWidget* pWidget : {static_cast<QWidget*>(pFontLabel), static_cast<QWidget*>(pFont),
                             static_cast<QWidget*>(pColourLabel), static_cast<QWidget*>(pColour)})
        pLayout->addWidget(pWidget);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    QCOMPARE(LabelledBy(pFont), QStringList{QStringLiteral("Doucuments Font")});
    QCOMPARE(LabelledBy(pColour), QStringList{QStringLiteral("Item Color")});
    pColour->SelectColour(Rgb(0, 0, 128));
    QCOMPARE(AccessibleValue(pColour), QStringLiteral("Navy Blue"));
    pFont->Fill({{"Courier New", true, true}});
    QCOMPARE(AccessibleValue(pFont), QStringLiteral("Courier New"));

    pFont->setFocus();
    QTRY_VERIFY(pFont->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTRY_VERIFY(pColour->hasFocus());
    pFont->setFocus();
    QTRY_VERIFY(pFont->hasFocus());
    QTest::keyClick(pFont, Qt::Key_C, Qt::AltModifier);
    QTRY_VERIFY(pColour->hasFocus());
}

// Draws both pickers closed and open, and one list row of each, and checks
// the closed colour box shows the selected colour's swatch.
void TestPickers::pictures()
{
    QWidget window;
    auto* pLayout = new QHBoxLayout(&window);
    auto* pColour = new CColorCombo(&window, Rgb(0, 0, 128));
    auto* pFont = new CFontCombo(&window);
    pLayout->addWidget(pColour);
    pLayout->addWidget(pFont);
    const QString sMono = pFont->FaceUsedFor(QStringLiteral("Courier New"));
    QVERIFY(pFont->SelectFont(sMono));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const QImage closed = pColour->grab().toImage();
    KeepPicture(window.grab().toImage(), QStringLiteral("pickers-closed.png"));
    const QColor crNavy(0, 0, 128);
    bool bSwatchSeen = false;
    for (int x = 0; x < closed.width() / 2 && !bSwatchSeen; ++x)
        bSwatchSeen = closed.pixelColor(x, closed.height() / 2) == crNavy;
    QVERIFY(bSwatchSeen);

    pColour->showPopup();
    QVERIFY(pColour->view()->isVisible());
    KeepPicture(pColour->view()->window()->grab().toImage(), QStringLiteral("colour-list.png"));
    pColour->hidePopup();
    pFont->showPopup();
    QVERIFY(pFont->view()->isVisible());
    KeepPicture(pFont->view()->window()->grab().toImage(), QStringLiteral("font-list.png"));
    pFont->hidePopup();
}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestPickers test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_pickers.moc"
