#pragma once

#include "resultrow.h"

#include <QString>
#include <QTableView>

#include <array>

class ResultGridModel;

// The result list: a fixed header row (row 0) over the record rows (1 and
// up), two columns (0 the title, 1 the page path). Members keep the names
// the main window uses. Positions, sizes and pointer coordinates are in
// twips; pointer coordinates and RowPos are measured from the top-left
// corner of the list inside its border, so y = 0 is the top of the header.
// Every change of the current cell raises RowColChange, whoever made it,
// except the reset that comes with a new DataSource.
class ResultGrid : public QTableView {
    Q_OBJECT
public:
    explicit ResultGrid(QWidget *parent = nullptr);
    ~ResultGrid() override;

    // Replaces every row by the given ones (moved in, not copied). Column
    // widths stay; the current cell becomes row 1, column 0 without a
    // RowColChange. An empty set leaves one empty record row.
    void setDataSource(ResultRows rows);
    const ResultRows &DataSource() const;

    int Rows() const; // header row included
    int Cols() const;

    int Row() const { return m_row; }
    int Col() const { return m_col; }
    // Makes the cell current and brings its row into view. Row 0 is the
    // header. Returns false, changing nothing, for a row or column that
    // does not exist.
    bool setRow(int row);
    bool setCol(int col);

    // Cell text; row 0 gives the header captions. Empty for a missing cell.
    QString TextMatrix(int row, int col) const;
    // Cell by flat index row * Cols() + col (0 and 1 are the header cells).
    // Returns false for an index outside the list.
    bool setTextArray(int index, const QString &text);

    // Width in twips; 0 hides the column. Kept across bindings.
    bool setColWidth(int index, int twips);
    int ColWidth(int index) const;

    // 0 none, 1 horizontal, 2 vertical, 3 both (each shown when needed).
    void setScrollBars(int setting);

    // Height of a row in twips: every row, the header too, is as tall.
    int RowHeight(int index) const;
    // Distance in twips from the top of the list to the top of the row:
    // 0 for the header, negative for rows scrolled out above.
    int RowPos(int index) const;

    double Left() const;
    void setLeft(double twips);
    double Width() const;
    void setWidth(double twips);

    // Whether the list is on show (false while its window is not yet shown).
    bool Visible() const { return isVisible(); }

    QString ToolTipText() const { return m_toolTipText; }
    void setToolTipText(const QString &text);

    void SetFocus();

    // Brings the first record row to the top of the view.
    void scrollToFirstRecord();

Q_SIGNALS:
    // button: 1 left, 2 right, 4 middle; shift: 1 Shift, 2 Ctrl, 4 Alt;
    // x, y: the pointer in twips.
    void MouseMove(int button, int shift, double x, double y);
    void RowColChange();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyboardSearch(const QString &search) override;

private:
    void onCurrentChanged(const QModelIndex &current);
    void moveCurrent(int row, int col, bool raise);
    void showCurrentRow();
    void applyColumnWidths();
    void applyRowHeight();
    int pageRows() const;
    int neighbourColumn(int step) const;
    int rowHeightPixels() const;

    ResultGridModel *m_model;
    int m_row = 1;
    int m_col = 0;
    bool m_syncing = false;
    std::array<int, 2> m_colWidths{-1, -1}; // twips; -1: never set
    QString m_toolTipText;
};
