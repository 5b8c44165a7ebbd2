#pragma once

#include "resultrow.h"

#include <QAbstractTableModel>
#include <QString>

#include <array>

// The rows behind the result list: two columns, the record title and the
// page path, plus the two header captions. Model row k is grid row k + 1;
// the grid's row 0 is the header and lives in headerData.
// There is always at least one record row: with no rows the list shows a
// single empty one, as the grid does when it is created.
class ResultGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int ColumnCount = 2;

    explicit ResultGridModel(QObject *parent = nullptr);

    // Takes the rows over without copying them; the header becomes the
    // field names of the source, as a freshly bound list shows them.
    void bind(ResultRows rows);
    const ResultRows &records() const { return m_rows; }

    // Grid coordinates: row 0 is the header. Out of range gives empty text.
    QString cellText(int gridRow, int col) const;
    // Returns false (and changes nothing) when the cell does not exist.
    bool setCellText(int gridRow, int col, const QString &text);
    int gridRowCount() const { return static_cast<int>(m_rows.size()) + 1; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    static const QString &field(const ResultRow &row, int col);
    static QString &field(ResultRow &row, int col);

    ResultRows m_rows;
    std::array<QString, ColumnCount> m_header;
};
