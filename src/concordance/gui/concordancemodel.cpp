#include "concordancemodel.h"

#include <QColor>

ConcordanceModel::ConcordanceModel(QObject *parent) : QAbstractTableModel(parent) {}

void ConcordanceModel::setConcordance(std::shared_ptr<const Concordance> concordance, std::vector<std::uint32_t> view)
{
    beginResetModel();
    m_concordance = std::move(concordance);
    m_view = std::move(view);
    endResetModel();
}

void ConcordanceModel::setView(std::vector<std::uint32_t> view)
{
    beginResetModel();
    m_view = std::move(view);
    endResetModel();
}

const Concordance::Line *ConcordanceModel::lineAt(int row) const
{
    if (!m_concordance || row < 0 || std::size_t(row) >= m_view.size())
        return nullptr;
    return &m_concordance->lines[m_view[std::size_t(row)]];
}

int ConcordanceModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_view.size());
}

int ConcordanceModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ConcordanceModel::data(const QModelIndex &index, int role) const
{
    const Concordance::Line *line = lineAt(index.row());
    if (!line)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        switch (index.column()) {
        case TitleColumn:
            return m_concordance->records[line->record].subject;
        case LeftColumn:
            return line->left().toString();
        case HitColumn:
            return line->hit().toString();
        case RightColumn:
            return line->right().toString();
        default:
            return {};
        }
    case Qt::TextAlignmentRole:
        // The left context leans on the hit, so that the hits form one column.
        if (index.column() == LeftColumn)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
        if (index.column() == HitColumn)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignHCenter | Qt::AlignVCenter));
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    case Qt::ForegroundRole:
        // Red, as the page marks the terms.
        return index.column() == HitColumn ? QVariant(QColor(255, 0, 0)) : QVariant();
    default:
        return {};
    }
}

QVariant ConcordanceModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case TitleColumn:
        return tr("篇名");
    case LeftColumn:
        return tr("前文");
    case HitColumn:
        return tr("關鍵字");
    case RightColumn:
        return tr("後文");
    default:
        return {};
    }
}
