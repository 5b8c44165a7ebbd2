#include "resultgridmodel.h"

#include "displaytext.h"

ResultGridModel::ResultGridModel(QObject *parent)
    : QAbstractTableModel(parent), m_rows(1)
{
}

void ResultGridModel::bind(ResultRows rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    if (m_rows.empty())
        m_rows.emplace_back();
    m_header = {QStringLiteral("subject"), QStringLiteral("htm")};
    endResetModel();
}

const QString &ResultGridModel::field(const ResultRow &row, int col)
{
    return col == 0 ? row.subject : row.htm;
}

QString &ResultGridModel::field(ResultRow &row, int col)
{
    return col == 0 ? row.subject : row.htm;
}

QString ResultGridModel::cellText(int gridRow, int col) const
{
    if (col < 0 || col >= ColumnCount || gridRow < 0 || gridRow >= gridRowCount())
        return QString();
    // A copy that owns its text: the caller may keep it beyond these rows.
    return gridRow == 0 ? m_header[col] : ownedCopy(field(m_rows[gridRow - 1], col));
}

bool ResultGridModel::setCellText(int gridRow, int col, const QString &text)
{
    if (col < 0 || col >= ColumnCount || gridRow < 0 || gridRow >= gridRowCount())
        return false;
    if (gridRow == 0) {
        m_header[col] = text;
        Q_EMIT headerDataChanged(Qt::Horizontal, col, col);
    } else {
        field(m_rows[gridRow - 1], col) = text;
        const QModelIndex cell = index(gridRow - 1, col);
        Q_EMIT dataChanged(cell, cell, {Qt::DisplayRole});
    }
    return true;
}

int ResultGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int ResultGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ResultGridModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return QVariant();
    const QString &text = field(m_rows[static_cast<size_t>(index.row())], index.column());
    // A cell shows a line: a title of megabytes is cut for it.
    if (text.size() > ListCellCharacters)
        return cutForDisplay(text, ListCellCharacters);
    return ownedCopy(text);
}

QVariant ResultGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return QVariant();
    if (role == Qt::DisplayRole)
        return m_header[section];
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return QVariant();
}

Qt::ItemFlags ResultGridModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}
