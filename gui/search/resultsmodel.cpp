#include "gui/search/resultsmodel.h"

#include "core/search/searchresults.h"

#include <QFontMetrics>

namespace {

// Lines of one font differ in width by their characters too, so more than
// the single longest is measured.
constexpr int kMeasured = 64;

}  // namespace

CResultsModel::CResultsModel(const CSearchResults& results, QObject* pParent)
    : QAbstractListModel(pParent)
    , m_results(results)
{
}

int CResultsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_results.LineCount();
}

QVariant CResultsModel::data(const QModelIndex& index, int nRole) const
{
    if (!index.isValid() || index.row() >= m_results.LineCount())
        return {};
    if (nRole == Qt::DisplayRole)
        return m_results.Line(index.row());
    if (nRole == Qt::SizeHintRole)
        return m_rowSize;
    return {};
}

void CResultsModel::Refresh(const QFont& font)
{
    beginResetModel();
    const QFontMetrics metrics(font);
    int nWidest = 0;
    for (const int nLine : m_results.LongestLines(kMeasured))
        nWidest = std::max(nWidest, metrics.horizontalAdvance(m_results.Line(nLine)));
    m_rowSize = QSize(nWidest + 8, metrics.height() + 2);
    endResetModel();
}
