#pragma once

#include "concordance.h"

#include <QAbstractTableModel>

#include <cstdint>
#include <memory>
#include <vector>

// The concordance lines as a table of title, left context, hit and right
// context. It holds the lines once and a list of the line indexes on view
// (sorted, filtered); cell texts are made only for the rows asked for, so
// that a hundred thousand lines show at once and scroll without delay.
class ConcordanceModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { TitleColumn, LeftColumn, HitColumn, RightColumn, ColumnCount };

    explicit ConcordanceModel(QObject *parent = nullptr);

    void setConcordance(std::shared_ptr<const Concordance> concordance, std::vector<std::uint32_t> view);
    void setView(std::vector<std::uint32_t> view);

    const Concordance *concordance() const { return m_concordance.get(); }
    const std::vector<std::uint32_t> &view() const { return m_view; }
    // The line shown in a row of the table; null outside it.
    const Concordance::Line *lineAt(int row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::shared_ptr<const Concordance> m_concordance;
    std::vector<std::uint32_t> m_view;
};
