#include "core/editor/undohistory.h"

#include <algorithm>

CBookmarkSlots EmptyBookmarks()
{
    CBookmarkSlots arSlots;
    arSlots.fill(-1);
    return arSlots;
}

void CUndoHistory::ShiftTowardsOld(std::array<UndoRecord, kRecords>& records)
{
    std::move_backward(records.begin(), records.end() - 1, records.end());
    records[0] = UndoRecord();
}

void CUndoHistory::ShiftTowardsNew(std::array<UndoRecord, kRecords>& records)
{
    std::move(records.begin() + 1, records.end(), records.begin());
    records[kRecords - 1] = UndoRecord();
}

void CUndoHistory::PushUndo(UndoRecord record)
{
    ClearRedo();
    ShiftTowardsOld(m_Undo);
    record.bValid = true;
    m_Undo[0] = std::move(record);
}

void CUndoHistory::ClearUndo()
{
    m_Undo.fill(UndoRecord());
    ClearRedo();
}

void CUndoHistory::ClearRedo()
{
    m_Redo.fill(UndoRecord());
}

QList<STextChange> CUndoHistory::Inverse(const QList<STextChange>& changes)
{
    QList<STextChange> inverse;
    inverse.reserve(changes.size());
    for (auto it = changes.crbegin(); it != changes.crend(); ++it)
        inverse.append({it->nPos, it->sInserted, it->sRemoved});
    return inverse;
}

std::optional<CUndoHistory::SStep> CUndoHistory::Undo()
{
    if (!CanUndo())
        return std::nullopt;
    ShiftTowardsOld(m_Redo);
    m_Redo[0] = std::move(m_Undo[0]);
    ShiftTowardsNew(m_Undo);
    return SStep{Inverse(m_Redo[0].changes), m_Undo[0]};
}

std::optional<CUndoHistory::SStep> CUndoHistory::Redo()
{
    if (!CanRedo())
        return std::nullopt;
    ShiftTowardsOld(m_Undo);
    m_Undo[0] = std::move(m_Redo[0]);
    ShiftTowardsNew(m_Redo);
    return SStep{m_Undo[0].changes, m_Undo[0]};
}

void CUndoHistory::MarkSaved()
{
    for (auto* pRecords : {&m_Undo, &m_Redo})
        for (UndoRecord& record : *pRecords)
            if (record.bValid)
                record.bModified = true;
    m_Undo[0].bModified = false;
}

qsizetype CUndoHistory::TextBytes() const
{
    qsizetype nBytes = 0;
    for (const auto* pRecords : {&m_Undo, &m_Redo})
        for (const UndoRecord& record : *pRecords)
            for (const STextChange& change : record.changes)
                nBytes += (change.sRemoved.size() + change.sInserted.size()) * qsizetype(sizeof(QChar));
    return nBytes;
}

void CUndoHistory::Apply(QString& sText, const QList<STextChange>& edits)
{
    for (const STextChange& edit : edits)
        sText.replace(edit.nPos, edit.sRemoved.size(), edit.sInserted);
}
