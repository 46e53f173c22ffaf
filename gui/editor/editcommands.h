#pragma once

#include <QObject>

#include <functional>

class CCommands;
class CScriptView;

// The Edit menu's commands, run on the active view.
class CEditCommands : public QObject
{
    Q_OBJECT
public:
    using ActiveView = std::function<CScriptView*()>;

    CEditCommands(CCommands& commands, ActiveView activeView, QObject* pParent);

private:
    // A command on the active view, when there is one.
    template <class TCommand> std::function<void()> OnView(TCommand command) const;

    ActiveView m_activeView;
};
