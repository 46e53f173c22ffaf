#include "gui/editor/editcommands.h"

#include "gui/controls/commands.h"
#include "gui/editor/scriptview.h"

using C = ECommand;

template <class TCommand> std::function<void()> CEditCommands::OnView(TCommand command) const
{
    return [this, command] {
        if (CScriptView* pView = m_activeView())
            command(*pView);
    };
}

CEditCommands::CEditCommands(CCommands& commands, ActiveView activeView, QObject* pParent)
    : QObject(pParent)
    , m_activeView(std::move(activeView))
{
    const auto rule = [this](bool (*pTest)(const CScriptView&)) {
        return [this, pTest] {
            const CScriptView* pView = m_activeView();
            return pView && pTest(*pView);
        };
    };
    const auto view = rule([](const CScriptView&) { return true; });
    const auto selection = rule([](const CScriptView& v) { return v.textCursor().hasSelection(); });
    const auto lineComments = rule([](const CScriptView& v) { return v.CanCommentLines(); });
    commands.Bind(C::Undo, OnView(std::mem_fn(&CScriptView::OnEditUndo)),
                  rule([](const CScriptView& v) { return v.CanUndo(); }));
    commands.Bind(C::Redo, OnView(std::mem_fn(&CScriptView::OnEditRedo)),
                  rule([](const CScriptView& v) { return v.CanRedo(); }));
    commands.Bind(C::Cut, OnView(std::mem_fn(&QPlainTextEdit::cut)), selection);
    commands.Bind(C::Copy, OnView(std::mem_fn(&QPlainTextEdit::copy)), selection);
    commands.Bind(C::Paste, OnView(std::mem_fn(&QPlainTextEdit::paste)),
                  rule([](const CScriptView& v) { return v.canPaste(); }));
    commands.Bind(C::SelectAll, OnView(std::mem_fn(&QPlainTextEdit::selectAll)), view);
    commands.Bind(C::CommentOut, OnView(std::mem_fn(&CScriptView::OnEditCommentOut)), lineComments);
    commands.Bind(C::Uncomment, OnView(std::mem_fn(&CScriptView::OnEditUncomment)), lineComments);
    commands.Bind(C::Uppercase, OnView([](CScriptView& v) { v.ChangeCase(true); }), view);
    commands.Bind(C::Lowercase, OnView([](CScriptView& v) { v.ChangeCase(false); }), view);
    commands.Bind(C::IncreaseIndent, OnView(std::mem_fn(&CScriptView::OnEditIndent)), view);
    commands.Bind(C::DecreaseIndent, OnView(std::mem_fn(&CScriptView::OnEditOutdent)), view);
}
