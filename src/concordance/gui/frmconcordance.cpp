#include "frmconcordance.h"

#include "concordancemodel.h"
#include "concordanceorder.h"
#include "concordancesource.h"
#include "fonts.h"
#include "messagebox.h"
#include "modtamvex.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

FrmConcordance::FrmConcordance(QWidget *owner) : TamvexForm(QStringLiteral("FrmConcordance"), owner)
{
    // A window of its own that goes with its owner.
    setWindowFlag(Qt::Window, true);
    setWindowTitle(productLabel() + tr("-關鍵字索引"));
    resize(900, 560);
    createControls();
}

FrmConcordance::~FrmConcordance() = default;

void FrmConcordance::createControls()
{
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("count"));
    m_filter = new QLineEdit(this);
    m_filter->setObjectName(QStringLiteral("filter"));
    m_filter->setPlaceholderText(tr("篩選：輸入文字，只列出含有它的行"));
    m_filter->setClearButtonEnabled(true);
    m_sort = new QComboBox(this);
    m_sort->setObjectName(QStringLiteral("sort"));
    m_sort->addItem(tr("依搜尋結果順序"), int(ConcordanceSort::ResultOrder));
    m_sort->addItem(tr("依前文排序（由近而遠）"), int(ConcordanceSort::LeftContext));
    m_sort->addItem(tr("依後文排序"), int(ConcordanceSort::RightContext));
    m_sort->addItem(tr("依篇名排序"), int(ConcordanceSort::Title));
    m_width = new QSpinBox(this);
    m_width->setObjectName(QStringLiteral("width"));
    m_width->setRange(1, 200);
    m_width->setValue(12);
    m_width->setPrefix(tr("前後 "));
    m_width->setSuffix(tr(" 字"));
    m_export = new QPushButton(tr("匯出…"), this);
    m_copy = new QPushButton(tr("複製"), this);

    m_model = new ConcordanceModel(this);
    m_list = new QTableView(this);
    m_list->setObjectName(QStringLiteral("lines"));
    m_list->setModel(m_model);
    m_list->setFont(Fonts::mingLiU(12));
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setWordWrap(false);
    m_list->setShowGrid(false);
    m_list->verticalHeader()->hide();
    m_list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_list->horizontalHeader()->setSectionResizeMode(ConcordanceModel::RightColumn, QHeaderView::Stretch);
    m_list->setColumnWidth(ConcordanceModel::TitleColumn, 160);
    m_list->setColumnWidth(ConcordanceModel::LeftColumn, 300);
    m_list->setColumnWidth(ConcordanceModel::HitColumn, 90);

    auto *bar = new QHBoxLayout;
    bar->addWidget(m_count, 1);
    bar->addWidget(m_filter, 1);
    bar->addWidget(m_sort);
    bar->addWidget(m_width);
    bar->addWidget(m_copy);
    bar->addWidget(m_export);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_list);

    connect(m_filter, &QLineEdit::textChanged, this, &FrmConcordance::applyView);
    connect(m_sort, &QComboBox::currentIndexChanged, this, &FrmConcordance::applyView);
    connect(m_width, &QSpinBox::valueChanged, this, [this] {
        if (m_concordance)
            reread();
    });
    connect(m_export, &QPushButton::clicked, this, &FrmConcordance::askExport);
    connect(m_copy, &QPushButton::clicked, this, &FrmConcordance::copySelection);
    // A double-click activates whatever the style's rule for activation,
    // and so does Enter (seen before the view, which would only move on).
    connect(m_list, &QTableView::doubleClicked, this, [this](const QModelIndex &index) { activateRow(index.row()); });
    m_list->installEventFilter(this);
}

bool FrmConcordance::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_list->currentIndex().isValid()) {
            activateRow(m_list->currentIndex().row());
            return true;
        }
    }
    return TamvexForm::eventFilter(watched, event);
}

bool FrmConcordance::showConcordance(const DatabaseLocation &location, const QString &queryText,
                                     const VariantTable *variants, TermIndexRegistry *index)
{
    const DatabaseLocation oldLocation = m_location;
    const QString oldQuery = m_query;
    const VariantTable *oldVariants = m_variants;
    m_location = location;
    m_query = queryText;
    m_variants = variants;
    m_index = index;
    if (!reread()) {
        m_location = oldLocation;
        m_query = oldQuery;
        m_variants = oldVariants;
        return false;
    }
    Show();
    m_list->setFocus(Qt::OtherFocusReason);
    return true;
}

bool FrmConcordance::reread()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ConcordanceOutcome outcome = readConcordance(m_location, m_query, m_width->value(), m_variants, m_index);
    QApplication::restoreOverrideCursor();
    switch (outcome.end) {
    case ConcordanceEnd::Failed:
        MessageBox::showFailure(outcome.failure);
        return false;
    case ConcordanceEnd::NoQuery:
        MessageBox::show(tr("關鍵字索引需要搜尋的關鍵字：請先輸入關鍵字並搜尋，再按 F9。"));
        return false;
    case ConcordanceEnd::NoLines:
        MessageBox::show(tr("關鍵字索引：搜尋結果的內文中沒有「%1」出現之處。").arg(m_query));
        return false;
    case ConcordanceEnd::Lines:
        break;
    }
    m_concordance = std::make_shared<const Concordance>(std::move(outcome.concordance));
    const auto sort = ConcordanceSort(m_sort->currentData().toInt());
    m_model->setConcordance(m_concordance, filteredLines(*m_concordance, sortedLines(*m_concordance, sort),
                                                         m_filter->text()));
    updateCount();
    return true;
}

void FrmConcordance::applyView()
{
    if (!m_concordance)
        return;
    const auto sort = ConcordanceSort(m_sort->currentData().toInt());
    m_model->setView(filteredLines(*m_concordance, sortedLines(*m_concordance, sort), m_filter->text()));
    updateCount();
}

void FrmConcordance::updateCount()
{
    const std::size_t lines = m_concordance->lines.size();
    QString text = tr("共 %L1 處，出自 %L2 筆記錄").arg(qulonglong(lines)).arg(qulonglong(m_concordance->records.size()));
    if (m_model->view().size() != lines)
        text += tr("（篩選後 %L1 處）").arg(qulonglong(m_model->view().size()));
    m_count->setText(text);
}

void FrmConcordance::activateRow(int row)
{
    const Concordance::Line *line = m_model->lineAt(row);
    if (!line)
        return;
    const Concordance::Record &record = m_concordance->records[line->record];
    // A record's lines lie together in text order: the earlier ones with
    // the same text are just before this one.
    int sameHit = 0;
    for (const Concordance::Line *earlier = line; earlier != m_concordance->lines.data();) {
        --earlier;
        if (earlier->record != line->record)
            break;
        sameHit += earlier->hit() == line->hit() ? 1 : 0;
    }
    Q_EMIT lineActivated(record.resultRow, record.subject, record.htm, int(line->occurrence), line->hit().toString(), sameHit);
}

bool FrmConcordance::exportTo(const QString &path)
{
    if (!m_concordance)
        return false;
    const ConcordanceFormat format = path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive) ? ConcordanceFormat::Csv
                                                                                                 : ConcordanceFormat::Tsv;
    const Status written = writeConcordanceFile(path, concordanceText(*m_concordance, m_model->view(), format, true));
    if (!written.ok())
        MessageBox::showFailure(written.failure());
    return written.ok();
}

void FrmConcordance::askExport()
{
    const QString path = QFileDialog::getSaveFileName(this, tr("匯出關鍵字索引"), QString(),
                                                      tr("以 Tab 分隔的文字 (*.tsv);;以逗號分隔的文字 (*.csv)"));
    if (!path.isEmpty())
        exportTo(path);
}

void FrmConcordance::copySelection()
{
    if (!m_concordance)
        return;
    QModelIndexList rows = m_list->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(), [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
    std::vector<std::uint32_t> lines;
    for (const QModelIndex &index : rows)
        lines.push_back(m_model->view()[std::size_t(index.row())]);
    if (lines.empty())
        return;
    const QByteArray text = concordanceText(*m_concordance, lines, ConcordanceFormat::Tsv, false);
    QApplication::clipboard()->setText(QString::fromUtf8(text));
}
