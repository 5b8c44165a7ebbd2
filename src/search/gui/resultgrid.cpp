#include "resultgrid.h"

#include "displaytext.h"

#include "resultgridmodel.h"
#include "twips.h"

#include <QCursor>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace {
int buttonMask(Qt::MouseButtons buttons)
{
    return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0)
        | (buttons & Qt::MiddleButton ? 4 : 0);
}

int shiftMask(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0)
        | (modifiers & Qt::AltModifier ? 4 : 0);
}
}

ResultGrid::ResultGrid(QWidget *parent)
    : QTableView(parent), m_model(new ResultGridModel(this))
{
    setModel(m_model);
    QFont listFont(QStringLiteral("Arial"));
    listFont.setPointSizeF(14.25);
    listFont.setWeight(QFont::Normal);
    setFont(listFont);

    setSelectionBehavior(SelectRows);
    setSelectionMode(SingleSelection);
    setEditTriggers(NoEditTriggers);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    // Whole rows scroll, so a row top always meets the header's bottom edge.
    setVerticalScrollMode(ScrollPerItem);
    setHorizontalScrollMode(ScrollPerPixel);

    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    applyRowHeight();

    for (QWidget *surface : {viewport(), horizontalHeader()->viewport()}) {
        surface->setMouseTracking(true);
        surface->installEventFilter(this);
    }
    setMouseTracking(true);

    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) { onCurrentChanged(current); });
    moveCurrent(1, 0, false);
}

ResultGrid::~ResultGrid() = default;

void ResultGrid::setDataSource(ResultRows rows)
{
    m_syncing = true;
    m_model->bind(std::move(rows));
    m_syncing = false;
    // A model reset rebuilds the header sections, widths and hidden flags
    // included, so the widths the window set are put back.
    applyColumnWidths();
    moveCurrent(1, 0, false);
}

const ResultRows &ResultGrid::DataSource() const
{
    return m_model->records();
}

int ResultGrid::Rows() const
{
    return m_model->gridRowCount();
}

int ResultGrid::Cols() const
{
    return ResultGridModel::ColumnCount;
}

bool ResultGrid::setRow(int row)
{
    if (row < 0 || row >= Rows())
        return false;
    moveCurrent(row, m_col, true);
    return true;
}

bool ResultGrid::setCol(int col)
{
    if (col < 0 || col >= Cols())
        return false;
    moveCurrent(m_row, col, true);
    return true;
}

QString ResultGrid::TextMatrix(int row, int col) const
{
    return m_model->cellText(row, col);
}

bool ResultGrid::setTextArray(int index, const QString &text)
{
    if (index < 0)
        return false;
    return m_model->setCellText(index / Cols(), index % Cols(), text);
}

bool ResultGrid::setColWidth(int index, int twips)
{
    if (index < 0 || index >= Cols() || twips < 0)
        return false;
    m_colWidths[static_cast<size_t>(index)] = twips;
    applyColumnWidths();
    return true;
}

int ResultGrid::ColWidth(int index) const
{
    if (index < 0 || index >= Cols())
        return 0;
    const int set = m_colWidths[static_cast<size_t>(index)];
    return set >= 0 ? set : static_cast<int>(std::lround(Twips::fromPixels(columnWidth(index), this)));
}

void ResultGrid::applyColumnWidths()
{
    for (int col = 0; col < Cols(); ++col) {
        const int twips = m_colWidths[static_cast<size_t>(col)];
        if (twips < 0)
            continue;
        setColumnHidden(col, twips == 0);
        if (twips > 0)
            setColumnWidth(col, Twips::toPixels(twips, this));
    }
}

void ResultGrid::setScrollBars(int setting)
{
    setHorizontalScrollBarPolicy(setting & 1 ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(setting & 2 ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
}

int ResultGrid::rowHeightPixels() const
{
    return verticalHeader()->defaultSectionSize();
}

void ResultGrid::applyRowHeight()
{
    // The header row is exactly as tall as a record row.
    const int height = fontMetrics().height() + 4;
    verticalHeader()->setDefaultSectionSize(height);
    horizontalHeader()->setFixedHeight(height);
}

int ResultGrid::RowHeight(int) const
{
    return static_cast<int>(std::lround(Twips::fromPixels(rowHeightPixels(), this)));
}

int ResultGrid::RowPos(int index) const
{
    if (index <= 0)
        return 0;
    const int header = horizontalHeader()->isHidden() ? 0 : rowHeightPixels();
    const int pixels = header + (index - 1) * rowHeightPixels() - verticalOffset();
    return static_cast<int>(std::lround(Twips::fromPixels(pixels, this)));
}

double ResultGrid::Left() const
{
    return Twips::fromPixels(x(), this);
}

void ResultGrid::setLeft(double twips)
{
    move(Twips::toPixels(twips, this), y());
}

double ResultGrid::Width() const
{
    return Twips::fromPixels(width(), this);
}

void ResultGrid::setWidth(double twips)
{
    resize(Twips::toPixels(twips, this), height());
}

void ResultGrid::setToolTipText(const QString &text)
{
    m_toolTipText = text;
    // The property keeps the whole text; the tip shows what a tip can hold.
    const QString shown = cutForDisplay(text, ToolTipCharacters);
    setToolTip(shown);
    // A tip already on show follows the pointer's new row at once.
    if (QToolTip::isVisible() && underMouse())
        QToolTip::showText(QCursor::pos(), shown, this);
}

void ResultGrid::SetFocus()
{
    setFocus(Qt::OtherFocusReason);
}

void ResultGrid::scrollToFirstRecord()
{
    verticalScrollBar()->setValue(0);
}

int ResultGrid::pageRows() const
{
    return std::max(1, viewport()->height() / std::max(1, rowHeightPixels()));
}

int ResultGrid::neighbourColumn(int step) const
{
    for (int col = m_col + step; col >= 0 && col < Cols(); col += step) {
        if (!isColumnHidden(col))
            return col;
    }
    return m_col;
}

void ResultGrid::keyPressEvent(QKeyEvent *event)
{
    const int last = Rows() - 1;
    int row = m_row;
    int col = m_col;
    switch (event->key()) {
    case Qt::Key_Up: row = std::max(1, m_row - 1); break;
    case Qt::Key_Down: row = std::min(last, std::max(1, m_row + 1)); break;
    case Qt::Key_PageUp: row = std::max(1, m_row - pageRows()); break;
    case Qt::Key_PageDown: row = std::min(last, std::max(1, m_row + pageRows())); break;
    case Qt::Key_Home: row = 1; break;
    case Qt::Key_End: row = last; break;
    case Qt::Key_Left: col = neighbourColumn(-1); break;
    case Qt::Key_Right: col = neighbourColumn(1); break;
    default: QTableView::keyPressEvent(event); return;
    }
    event->accept();
    moveCurrent(row, col, true);
}

void ResultGrid::keyboardSearch(const QString &)
{
    // Typing does not jump to a matching title: the keys belong to the window.
}

bool ResultGrid::eventFilter(QObject *watched, QEvent *event)
{
    auto *surface = qobject_cast<QWidget *>(watched);
    const bool ours = surface && (surface == viewport() || surface == horizontalHeader()->viewport());
    if (ours && event->type() == QEvent::MouseMove) {
        const auto *move = static_cast<QMouseEvent *>(event);
        const QPointF at = surface->mapTo(this, move->position()) - QPointF(contentsRect().topLeft());
        Q_EMIT MouseMove(buttonMask(move->buttons()), shiftMask(move->modifiers()),
                         Twips::fromPixels(at.x(), this), Twips::fromPixels(at.y(), this));
    } else if (ours && event->type() == QEvent::ToolTip) {
        // One tip for the whole list, header included, not one per cell.
        const auto *help = static_cast<QHelpEvent *>(event);
        if (m_toolTipText.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), m_toolTipText, this);
        return true;
    }
    return QTableView::eventFilter(watched, event);
}

void ResultGrid::onCurrentChanged(const QModelIndex &current)
{
    if (m_syncing || !current.isValid())
        return;
    const int row = current.row() + 1;
    const int col = current.column();
    if (row == m_row && col == m_col)
        return;
    m_row = row;
    m_col = col;
    Q_EMIT RowColChange();
}

void ResultGrid::moveCurrent(int row, int col, bool raise)
{
    const bool changed = row != m_row || col != m_col;
    m_row = row;
    m_col = col;
    m_syncing = true;
    if (row >= 1)
        selectionModel()->setCurrentIndex(m_model->index(row - 1, col),
                                          QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    else
        selectionModel()->clear(); // the header row has no cell to select
    m_syncing = false;
    showCurrentRow();
    if (changed && raise)
        Q_EMIT RowColChange();
}

void ResultGrid::showCurrentRow()
{
    if (m_row < 1)
        return;
    // scrollTo ignores cells of hidden columns, and the current column is
    // usually the hidden page path: scroll by a visible cell of the row.
    for (int col = 0; col < Cols(); ++col) {
        if (!isColumnHidden(col)) {
            scrollTo(m_model->index(m_row - 1, col), EnsureVisible);
            return;
        }
    }
}
