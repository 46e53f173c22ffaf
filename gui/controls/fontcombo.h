#pragma once

#include "core/controls/fontlist.h"

#include <QComboBox>
#include <QPixmap>

// A drop-down list of the desktop's font families, each listed once, sorted,
// fixed-pitch ones marked " *" and outline fonts shown with a small glyph.
// The items' text is the bare family name: the mark is only drawn.
class CFontCombo : public QComboBox
{
    Q_OBJECT

public:
    static constexpr int nDefaultVisibleItems = 15;

    // Lists the installed families and selects the first; the parent's font
    // is the list's.
    explicit CFontCombo(QWidget* pParent = nullptr, int nVisibleItems = nDefaultVisibleItems);

    // The desktop's families as records, as reported, repeats and all.
    static QList<SFontFace> InstalledFaces();
    // Replaces the list with these faces, folded and sorted, and selects the
    // first.
    void Fill(const QList<SFontFace>& faces);
    const QList<SFontFace>& Faces() const { return m_arFaces; }

    // Selects the family named exactly sFace; false, and the selection left
    // as it was, when it is not listed.
    bool SelectFont(const QString& sFace);
    // Empty only when nothing is listed.
    QString SelectedFace() const;
    // The listed family that text asked for in sFace is drawn in, for telling
    // the user when a face is stood in for.
    QString FaceUsedFor(const QString& sFace) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // After every choice the user makes here; never for SelectFont or Fill.
    void SelectionChanged();

protected:
    void paintEvent(QPaintEvent* pEvent) override;

private:
    QList<SFontFace> m_arFaces;
    QPixmap m_pmGlyph;
};
