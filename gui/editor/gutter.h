#pragma once

#include <QFont>
#include <QWidget>

class CScriptView;

// The strip left of the text: line numbers and bookmarks. It only paints
// and takes clicks; the document holds the bookmarks.
class CGutter : public QWidget
{
    Q_OBJECT
public:
    explicit CGutter(CScriptView& view);

    // The part that takes clicks: four digits wide, and wider once the
    // line numbers have more.
    int StripWidth() const;
    // Where the text starts.
    int Width() const;
    const QColor& StripColour() const { return m_crStrip; }
    const QColor& EdgeColour() const { return m_crEdge; }
    const QFont& NumberFont() const { return m_fontNumbers; }

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;

private:
    CScriptView& m_view;
    QColor m_crStrip;
    QColor m_crEdge;
    QFont m_fontNumbers;
};
