#pragma once

#include "core/editor/editoroptions.h"

#include <QFont>
#include <QObject>

class CDictionary;

// What every editor view needs from its surroundings: the dictionary it
// colours and completes from, the options and the one editor font. A view
// re-applies them when they change.
class CEditorContext : public QObject
{
    Q_OBJECT
public:
    explicit CEditorContext(CDictionary& dictionary, QObject* pParent = nullptr)
        : QObject(pParent)
        , m_dictionary(dictionary)
    {
    }

    CDictionary& Dictionary() const { return m_dictionary; }
    const SEditorOptions& Options() const { return m_options; }
    const QFont& Font() const { return m_font; }

    // Changes take effect in every view at once.
    void SetOptions(const SEditorOptions& options)
    {
        m_options = options;
        emit Changed();
    }
    void SetFont(const QFont& font)
    {
        m_font = font;
        emit FontChanged();
    }

signals:
    void Changed();
    void FontChanged();

private:
    CDictionary& m_dictionary;
    SEditorOptions m_options;
    QFont m_font;
};
