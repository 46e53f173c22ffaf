#pragma once

#include <QWidget>

class CScriptView;

// The strip left of the text: line numbers and bookmarks. It only paints
// and takes clicks; the view holds the bookmarks.
class CGutter : public QWidget
{
    Q_OBJECT
public:
    explicit CGutter(CScriptView& view);

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;

private:
    CScriptView& m_view;
};
