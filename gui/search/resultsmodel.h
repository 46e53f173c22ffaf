#pragma once

#include <QAbstractListModel>
#include <QFont>
#include <QSize>

class CSearchResults;

// The results list as a model: half a million lines cost one string each,
// and every row reports the width of the widest, measured once per run on
// the longest lines only.
class CResultsModel : public QAbstractListModel
{
    Q_OBJECT
public:
    CResultsModel(const CSearchResults& results, QObject* pParent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int nRole) const override;

    // The results changed: the list shows them anew, measured in this font.
    void Refresh(const QFont& font);

private:
    const CSearchResults& m_results;
    QSize m_rowSize;
};
