#include "frmtamvexmain.h"

#include "backgroundsearch.h"
#include "confinedpageview.h"

#include "termindexregistry.h"

#include "concordancerow.h"
#include "displayterms.h"
#include "filetests.h"
#include "fonts.h"
#include "frmconcordance.h"
#include "forms.h"
#include "graphicalbutton.h"
#include "highlightedpagewriter.h"
#include "keypreview.h"
#include "keyrouting.h"
#include "messagebox.h"
#include "modtamvex.h"
#include "pagehitview.h"
#include "programfolder.h"
#include "queryplan.h"
#include "recordprinter.h"
#include "resultgrid.h"
#include "rowtooltip.h"
#include "searchrun.h"
#include "twips.h"
#include "workfolder.h"
#include "variantswitch.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <limits>

namespace {
const QString kListHeader = QStringLiteral(u"內容標題 或 查詢結果");
const QString kSearchHeader = QStringLiteral(u" 內容標題 或 查詢結果");
const QString kPathHeader = QStringLiteral(u"位置");
const QString kOpenEditor = QStringLiteral(u"條件存取");
const QString kResetList = QStringLiteral(u"條件清除");

// A list-all search keeps the first row whose title is not below the terms
// text. The terms text of a list-all is empty, so that is row 1; the loop is
// kept so that the rule stays visible and holds for any terms text.
int firstRowNotBelow(const ResultGrid &grid, const QString &termsText)
{
    const int n = grid.Rows() - 2;
    int i = 1;
    while (i <= n && !(termsText <= grid.TextMatrix(i, 0)))
        ++i;
    return i;
}
}

FrmTamvexMain::FrmTamvexMain() : TamvexForm(QStringLiteral("FrmTamvexMain"))
{
    setWindowTitle(productLabel() + QStringLiteral(u"-目錄瀏覽 & 關鍵字搜尋"));
    setFont(Fonts::arial(14.25));
    resize(Twips::toPixels(12000, this), Twips::toPixels(8730, this));
    // The panel's own colour, where the client area is larger than the panel.
    setBackgroundColour(QColor(96, 126, 166));
    createControls();
}

FrmTamvexMain::~FrmTamvexMain()
{
    // No worker may outlive the term index it reads.
    m_search->abandonAndWait();
}

void FrmTamvexMain::createControls()
{
    auto *panel = new QLabel(this);
    panel->setPixmap(QPixmap(QStringLiteral(":/tamvex/main-panel.png")));
    panel->setGeometry(QRect(QPoint(0, 0), panel->pixmap().size()));

    // Made bottom first: each control made later lies above the earlier ones.
    m_imgBack = new QLabel(this);
    Twips::setGeometry(m_imgBack, 4080, 600, 135, 135);

    m_ct = new QLabel(QStringLiteral(u"第100000筆"), this);
    Twips::setGeometry(m_ct, 238, 730, 1695, 375);
    m_ct->setAlignment(Qt::AlignCenter);
    m_ct->setFrameShape(QFrame::Box);
    m_ct->setAutoFillBackground(true);
    QPalette labelColours = m_ct->palette();
    labelColours.setColor(QPalette::Window, QColor(255, 255, 192));
    labelColours.setColor(QPalette::WindowText, labelColours.color(QPalette::Highlight));
    m_ct->setPalette(labelColours);
    m_ct->setFont(QFont());
    m_ct->setToolTip(QStringLiteral(u"按目錄時可顯示第幾筆"));

    m_Grd1 = new ResultGrid(this);
    m_Grd1->setObjectName(QStringLiteral("Grd1"));
    Twips::setGeometry(m_Grd1, 240, 1200, 3375, 7125);
    m_Grd1->setFont(Fonts::arial(14.25));
    connect(m_Grd1, &ResultGrid::RowColChange, this, &FrmTamvexMain::Grd1_RowColChange);
    connect(m_Grd1, &ResultGrid::MouseMove, this, &FrmTamvexMain::Grd1_MouseMove);

    m_Command1 = new GraphicalButton(this);
    m_Command1->setObjectName(QStringLiteral("Command1"));
    Twips::setGeometry(m_Command1, 2630, 690, 1080, 480);
    m_Command1->setMaskColor(QColor(255, 0, 255));
    m_Command1->setPicture(QPixmap(QStringLiteral(":/tamvex/search-button.png")));
    m_Command1->setToolTip(QStringLiteral(u"多筆關鍵字搜尋ㄦ -->>結果顯示於內容標題區"));
    connect(m_Command1, &QAbstractButton::clicked, this, &FrmTamvexMain::Command1_Click);

    m_LblDesc = new QWebEngineView(this);
    m_LblDesc->setObjectName(QStringLiteral("LblDesc"));
    Twips::setGeometry(m_LblDesc, 3830, 225, 8000, 8115);
    // Pages load only the collection's own files: never the reader's, never
    // the network.
    m_pageGuard = new ConfinedPageView(m_LblDesc, this, {ProgramFolder()});
    m_pageHits = new PageHitView(m_LblDesc);
    // Record pages and the temporary page are code page 950.
    m_LblDesc->settings()->setDefaultTextEncoding(QStringLiteral("big5"));

    m_TxtQuery = new QComboBox(this);
    m_TxtQuery->setObjectName(QStringLiteral("TxtQuery"));
    m_TxtQuery->setEditable(true);
    m_TxtQuery->setInsertPolicy(QComboBox::NoInsert);
    // A pasted query is searched whole, however long: no silent cut at the
    // line edit's default 32,767 characters.
    m_TxtQuery->lineEdit()->setMaxLength(std::numeric_limits<int>::max());
    Twips::setGeometry(m_TxtQuery, 240, 240, 3500, 405);
    m_TxtQuery->setFont(Fonts::mingLiU(14.25, true));
    QPalette queryColours = m_TxtQuery->palette();
    queryColours.setColor(QPalette::Text, QColor(0, 0, 128));
    queryColours.setColor(QPalette::Base, queryColours.color(QPalette::Light));
    m_TxtQuery->setPalette(queryColours);
    resetQueryList();
    m_TxtQuery->setEditText(QStringLiteral("TxtQuery"));
    m_TxtQuery->setToolTip(QStringLiteral(u"輸入搜尋的關鍵字例 : 發熱  頭痛 "));
    connect(m_TxtQuery->lineEdit(), &QLineEdit::returnPressed, this, [this] {
        int key = 13;
        TxtQuery_KeyPress(key);
    });
    m_TxtQuery->installEventFilter(this);

    m_variants = new VariantSwitch(this);
    Twips::setGeometry(m_variants->badge(), 2030, 730, 375, 375);

    m_search = new BackgroundSearch(this);
    m_searching = new QLabel(tr("搜尋中……按 Esc 停止"), this);
    m_searching->setObjectName(QStringLiteral("searching"));
    m_searching->setAlignment(Qt::AlignCenter);
    m_searching->setFrameShape(QFrame::Box);
    m_searching->setAutoFillBackground(true);
    m_searching->setPalette(m_ct->palette());
    m_searching->hide();
    connect(m_search, &BackgroundSearch::waitingChanged, m_searching, [this](bool waiting) {
        // Over the list's header row, wherever the load step put the list.
        if (waiting) {
            m_searching->setGeometry(m_Grd1->x(), m_Grd1->y(), m_Grd1->width(), Twips::toPixels(375, this));
            m_searching->raise();
        }
        m_searching->setVisible(waiting);
    });

    setTabOrder(m_Grd1, m_Command1);
    setTabOrder(m_Command1, m_LblDesc);
    setTabOrder(m_LblDesc, m_TxtQuery);
}

void FrmTamvexMain::resetQueryList()
{
    m_TxtQuery->clear();
    m_TxtQuery->addItem(QString());
    m_TxtQuery->addItem(kOpenEditor);
    m_TxtQuery->addItem(kResetList);
}

void FrmTamvexMain::Form_Load()
{
    // The program folder's tmp folder; for a collection installed where the
    // reader may not write, a folder of the reader's cache.
    m_workFolder = workFolder(ProgramFolder());
    if (m_workFolder.isEmpty())
        m_workFolder = joinTail(ProgramFolder(), QStringLiteral("/tmp"));
    m_pageGuard->allowFolder(m_workFolder);
    TempPagePath = joinTail(joinTail(m_workFolder, QStringLiteral("/")), QStringLiteral("TmpVORNAX.htm"));
    setOuterGeometryTwips(0, 0, 12120, 9100);
    setWindowFlag(Qt::FramelessWindowHint, true);
    if (!m_keyPreview)
        m_keyPreview = new KeyPreview(this, [this](int key, int shift) { Form_KeyDown(key, shift); });
    m_Grd1->setLeft(200);
    m_Grd1->setWidth(3520);
    m_Grd1->setColWidth(0, 3500);
    m_Grd1->setColWidth(1, 0);
    m_Grd1->setScrollBars(2);
    m_Grd1->setTextArray(0, kListHeader);
    m_TxtQuery->move(Twips::toPixels(m_Grd1->Left(), this), m_TxtQuery->y());
    m_TxtQuery->setEditText(QString());
    m_pageHits->clear();
    navigate(joinTail(joinTail(ProgramFolder(), QStringLiteral("/")), QStringLiteral("Help.htm")));
    RunSearch();
}

void FrmTamvexMain::Form_Unload()
{
    if (isOrdinaryFile(TempPagePath))
        QFile::remove(TempPagePath);
    if (m_concordance)
        m_concordance->Unload(); // it shows this window's rows
    delete m_keyPreview;
    m_keyPreview = nullptr;
    m_search->abandonAndWait(); // a search waited for below returns and changes nothing
    m_index.reset(); // a build still running is cancelled
}

bool FrmTamvexMain::RunSearch()
{
    m_TxtQuery->setEditText(trimBlanks(m_TxtQuery->currentText()));
    // What was searched, though the reader may type on while it runs.
    const QString query = m_TxtQuery->currentText();
    const QueryPlan plan = m_variants->plan(query);
    const VariantTable *variants = m_variants->markingTable(); // F8 may come while it runs
    TermIndex = plan.clauseCount;
    const DatabaseLocation location = searchLocation();
    if (!m_index)
        m_index = std::make_unique<TermIndexRegistry>(location.tmpFolder, IndexBuilding::InBackground);
    // A search still waited for is the reader's previous wish: this one replaces it.
    m_search->abandon();
    // The load step's search runs before the window is on screen: it is
    // waited for without taking events, as the window is not yet there.
    SearchOutcome outcome = m_search->run(plan, location, m_index.get(), isVisible());
    if (m_closeAfterSearch && !m_search->isRunning()) {
        m_closeAfterSearch = false;
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
    m_lastSearchAbandoned = outcome.end == SearchEnd::Cancelled;
    if (m_lastSearchAbandoned)
        return true;
    m_lastSearchFailed = outcome.end == SearchEnd::Failed;
    switch (outcome.end) {
    case SearchEnd::Cancelled:
        break;
    case SearchEnd::Failed:
        MessageBox::showFailure(outcome.failure);
        break;
    case SearchEnd::NoRows:
        MessageBox::show(outcome.message);
        break;
    case SearchEnd::Rows:
        showRows(std::move(outcome), plan.mode, plan.TermsText, query, variants);
        break;
    }
    return !m_lastSearchFailed;
}

// The database the start screen's connection string names, read at every
// search, and the work folder (the program folder's tmp folder) for the
// kept term index.
DatabaseLocation FrmTamvexMain::searchLocation() const
{
    return DatabaseLocation{modTamvex::dataSourceOf(modTamvex::ConnectionString), m_workFolder};
}

void FrmTamvexMain::showRows(SearchOutcome outcome, SearchMode mode, const QString &termsText, const QString &query,
                             const VariantTable *variants)
{
    m_Grd1->setDataSource(std::move(outcome.rows));
    m_Grd1->setTextArray(0, kSearchHeader);
    m_Grd1->setTextArray(1, kPathHeader);
    m_Grd1->setRow(1);
    m_Grd1->setCol(1);
    if (mode == SearchMode::ListAll)
        finishListAll(termsText);
    else
        m_Grd1->SetFocus();
    LastMode = searchModeText(mode);
    m_rowsQuery = query;
    m_rowsVariants = variants;
    Grd1_RowColChange();
}

void FrmTamvexMain::finishListAll(const QString &termsText)
{
    m_Grd1->setRow(firstRowNotBelow(*m_Grd1, termsText));
    // The first list-all runs while the window is still being loaded; a
    // focus request then would go to a window that is not on screen.
    if (m_Grd1->Visible())
        m_Grd1->SetFocus();
    m_Grd1->setRow(1);
    m_Grd1->scrollToFirstRecord();
}

void FrmTamvexMain::Grd1_RowColChange()
{
    const bool secondBranch = usesSecondBranch(LastMode);
    const QString pagePath = m_Grd1->TextMatrix(m_Grd1->Row(), 1);
    const QString terms = displayTerms(LastMode, m_TxtQuery->currentText());
    const HighlightReport report = writeHighlightedPageReport(ProgramFolder(), TempPagePath, pagePath, terms,
                                                             m_variants->markingTable());
    m_ct->setText(ctCaption(m_Grd1->Row()));
    if (!secondBranch) {
        if (m_Grd1->Row() != 0) {
            // A start screen that is not loaded stays so: no load just to unload.
            if (TamvexForm *start = Forms::existing(QStringLiteral("FrmIni")); start && start->isLoaded()) {
                start->Hide();
                start->Unload();
            }
        } else if (TamvexForm *start = Forms::instance(QStringLiteral("FrmIni"))) {
            start->Show();
        }
    }
    // When the temporary page could not be written, the selected record's
    // own page (unmarked) is shown rather than whatever the file held before;
    // with no page to show at all, an empty one.
    if (report.tempPageWritten) {
        m_pageHits->setPage(report.marks, report.terms);
        navigate(TempPagePath);
    } else {
        m_pageHits->clear();
        navigate(report.pageRead ? report.recordPage : QString());
    }
}

void FrmTamvexMain::navigate(const QString &path)
{
    m_navigated = path;
    const QUrl url = path.isEmpty() ? QUrl(QStringLiteral("about:blank")) : QUrl::fromLocalFile(path);
    m_pageGuard->willShow(url);
    m_LblDesc->load(url);
}

void FrmTamvexMain::TxtQuery_GotFocus()
{
    m_TxtQuery->lineEdit()->setSelection(0, static_cast<int>(m_TxtQuery->currentText().size()));
}

bool FrmTamvexMain::eventFilter(QObject *watched, QEvent *event)
{
    // The line edit places its cursor on focus-in itself; select after it.
    if (watched == m_TxtQuery && event->type() == QEvent::FocusIn)
        QMetaObject::invokeMethod(this, &FrmTamvexMain::TxtQuery_GotFocus, Qt::QueuedConnection);
    return TamvexForm::eventFilter(watched, event);
}

void FrmTamvexMain::closeEvent(QCloseEvent *event)
{
    if (m_search->isRunning()) {
        m_search->abandon();
        m_closeAfterSearch = true;
        event->ignore();
        return;
    }
    TamvexForm::closeEvent(event);
}

void FrmTamvexMain::TxtQuery_KeyPress(int &keyAscii)
{
    if (keyAscii == 13)
        RunSearch();
}

void FrmTamvexMain::Command1_Click()
{
    const QString CommandText = m_TxtQuery->currentText();
    if (CommandText != kResetList && CommandText != kOpenEditor) {
        int key = 13;
        TxtQuery_KeyPress(key);
        if (!m_lastSearchFailed && !m_lastSearchAbandoned && LastHistoryEntry != CommandText) {
            m_TxtQuery->addItem(m_TxtQuery->currentText());
            LastHistoryEntry = CommandText;
        }
    } else {
        m_TxtQuery->setEditText(QString());
    }
    if (CommandText == kOpenEditor) {
        if (TamvexForm *editor = Forms::instance(QStringLiteral("frmBrowser")))
            editor->Show();
    }
    if (CommandText == kResetList) {
        resetQueryList();
        m_TxtQuery->setEditText(QString());
    }
}

void FrmTamvexMain::Form_KeyDown(int keyCode, int shift)
{
    if (isConcordanceKey(keyCode)) {
        openConcordance();
        return;
    }
    switch (routeKey(keyCode | (shift & Qt::ShiftModifier))) {
    case KeyAction::FocusResultList:
        m_Grd1->SetFocus();
        break;
    case KeyAction::FocusQueryBox:
        m_search->abandon(); // a long search waited for ends, showing nothing
        m_TxtQuery->setFocus(Qt::OtherFocusReason);
        break;
    case KeyAction::Print:
        printCurrentRow();
        break;
    case KeyAction::ToggleVariants:
        m_variants->toggle();
        break;
    case KeyAction::NextHit:
        m_pageHits->next();
        break;
    case KeyAction::PreviousHit:
        m_pageHits->previous();
        break;
    case KeyAction::Nothing:
    case KeyAction::NotHandled:
        break;
    }
}

void FrmTamvexMain::openConcordance()
{
    if (!m_concordance) {
        m_concordance = new FrmConcordance(this);
        connect(m_concordance, &FrmConcordance::lineActivated, this,
                [this](int row, const QString &subject, const QString &htm, int occurrence, const QString &hit,
                       int sameHit) {
                    showRecordAtOccurrence(concordanceRow(*m_Grd1, row, subject, htm), occurrence, hit, sameHit);
                });
    }
    // While a search still runs (F9 during its wait) the index is left to it.
    m_concordance->showConcordance(searchLocation(), m_rowsQuery, m_rowsVariants,
                                   m_search->isRunning() ? nullptr : m_index.get());
}

void FrmTamvexMain::showRecordAtOccurrence(int row, int occurrence, const QString &hit, int sameHit)
{
    if (row < 1 || row >= m_Grd1->Rows())
        return;
    if (row == m_Grd1->Row())
        Grd1_RowColChange();
    else
        m_Grd1->setRow(row);
    // The content's occurrence, found among the page's marks by its text;
    // without its text, its place among all occurrences.
    if (!hit.isEmpty())
        m_pageHits->goToOccurrence(hit, sameHit);
    else
        m_pageHits->goTo(occurrence);
    Show();
    m_Grd1->SetFocus();
}

void FrmTamvexMain::printCurrentRow()
{
    const Status printed = RecordPrinter::printLine(m_Grd1->TextMatrix(m_Grd1->Row(), 0));
    if (!printed.ok())
        MessageBox::showFailure(printed.failure());
}

void FrmTamvexMain::ShowRowToolTip(double x, double y)
{
    Q_UNUSED(x);
    const std::optional<int> row = toolTipRow(m_Grd1->RowHeight(1), m_Grd1->RowPos(1), y, m_Grd1->Rows());
    if (row)
        m_Grd1->setToolTipText(m_Grd1->TextMatrix(*row, 0));
}

void FrmTamvexMain::Grd1_MouseMove(int, int, double x, double y)
{
    ShowRowToolTip(x, y);
}
