#pragma once

#include <QList>
#include <QString>

#include <array>
#include <optional>

constexpr int kBookmarkSlots = 32;
using CBookmarkSlots = std::array<int, kBookmarkSlots>;
CBookmarkSlots EmptyBookmarks();

// One edit of the text: at nPos, sRemoved was replaced by sInserted.
struct STextChange
{
    int nPos = 0;
    QString sRemoved;
    QString sInserted;
    bool operator==(const STextChange&) const = default;
};

// One step of the history: what it changed since the step before, and the
// state the view shows after it.
struct UndoRecord
{
    bool bValid = false;
    bool bModified = false;
    int nSelStart = 0;
    int nSelEnd = 0;
    QList<STextChange> changes;
    CBookmarkSlots nBookmarks = EmptyBookmarks();
};

// The view's own history: 48 steps back, 48 forward. Record 0 of the undo
// side always describes the current state, so 47 steps can be undone.
class CUndoHistory
{
public:
    static constexpr int kRecords = 48;

    // The edits that take the text to the restored step, in the order to
    // apply them, and the step's state.
    struct SStep
    {
        QList<STextChange> edits;
        const UndoRecord& state;
    };

    void PushUndo(UndoRecord record);
    void ClearUndo();
    void ClearRedo();
    bool CanUndo() const { return m_Undo[1].bValid; }
    bool CanRedo() const { return m_Redo[0].bValid; }
    std::optional<SStep> Undo();
    std::optional<SStep> Redo();
    // The current state was just saved: it is the one that matches the file,
    // and every other step now differs from it.
    void MarkSaved();

    const UndoRecord& UndoAt(int i) const { return m_Undo[i]; }
    const UndoRecord& RedoAt(int i) const { return m_Redo[i]; }
    // The bytes of text the history holds, for measuring what it costs.
    qsizetype TextBytes() const;

    // Applies edits to a plain string; the view applies them to its document.
    static void Apply(QString& sText, const QList<STextChange>& edits);
    static QList<STextChange> Inverse(const QList<STextChange>& changes);

private:
    static void ShiftTowardsOld(std::array<UndoRecord, kRecords>& records);
    static void ShiftTowardsNew(std::array<UndoRecord, kRecords>& records);

    std::array<UndoRecord, kRecords> m_Undo;
    std::array<UndoRecord, kRecords> m_Redo;
};
