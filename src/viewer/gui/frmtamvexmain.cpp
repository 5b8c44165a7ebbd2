#include "frmtamvexmain.h"

#include "displayterms.h"
#include "filetests.h"
#include "fonts.h"
#include "forms.h"
#include "graphicalbutton.h"
#include "highlightedpagewriter.h"
#include "keypreview.h"
#include "keyrouting.h"
#include "messagebox.h"
#include "modtamvex.h"
#include "programfolder.h"
#include "queryplan.h"
#include "recordprinter.h"
#include "resultgrid.h"
#include "rowtooltip.h"
#include "searchrun.h"
#include "twips.h"

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
const QString kOpenEditor = QStringLiteral(u"條件存取");
const QString kResetList = QStringLiteral(u"條件清除");
}

FrmTamvexMain::FrmTamvexMain() : TamvexForm(QStringLiteral("FrmTamvexMain"))
{
    setWindowTitle(productLabel() + QStringLiteral(u"-目錄瀏覽 & 關鍵字搜尋"));
    setFont(Fonts::arial(14.25));
    resize(Twips::toPixels(12000, this), Twips::toPixels(8730, this));
    createControls();
}

FrmTamvexMain::~FrmTamvexMain() = default;

void FrmTamvexMain::createControls()
{
    auto *panel = new QLabel(this);
    panel->setPixmap(QPixmap(QStringLiteral(":/tamvex/main-panel.png")));
    panel->setGeometry(QRect(QPoint(0, 0), panel->pixmap().size()));

    // Made bottom first: each control made later lies above the earlier ones.
    imgBack = new QLabel(this);
    Twips::setGeometry(imgBack, 4080, 600, 135, 135);

    ct = new QLabel(QStringLiteral(u"第100000筆"), this);
    Twips::setGeometry(ct, 238, 730, 1695, 375);
    ct->setAlignment(Qt::AlignCenter);
    ct->setFrameShape(QFrame::Box);
    ct->setAutoFillBackground(true);
    QPalette labelColours = ct->palette();
    labelColours.setColor(QPalette::Window, QColor(255, 255, 192));
    labelColours.setColor(QPalette::WindowText, labelColours.color(QPalette::Highlight));
    ct->setPalette(labelColours);
    ct->setFont(QFont());
    ct->setToolTip(QStringLiteral(u"按目錄時可顯示第幾筆"));

    Grd1 = new ResultGrid(this);
    Grd1->setObjectName(QStringLiteral("Grd1"));
    Twips::setGeometry(Grd1, 240, 1200, 3375, 7125);
    Grd1->setFont(Fonts::arial(14.25));
    connect(Grd1, &ResultGrid::RowColChange, this, &FrmTamvexMain::Grd1_RowColChange);
    connect(Grd1, &ResultGrid::MouseMove, this, &FrmTamvexMain::Grd1_MouseMove);

    Command1 = new GraphicalButton(this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Twips::setGeometry(Command1, 2630, 690, 1080, 480);
    Command1->setMaskColor(QColor(255, 0, 255));
    Command1->setPicture(QPixmap(QStringLiteral(":/tamvex/search-button.png")));
    Command1->setToolTip(QStringLiteral(u"多筆關鍵字搜尋ㄦ -->>結果顯示於內容標題區"));
    connect(Command1, &QAbstractButton::clicked, this, &FrmTamvexMain::Command1_Click);

    LblDesc = new QWebEngineView(this);
    LblDesc->setObjectName(QStringLiteral("LblDesc"));
    Twips::setGeometry(LblDesc, 3830, 225, 8000, 8115);
    // Record pages and the temporary page are code page 950.
    LblDesc->settings()->setDefaultTextEncoding(QStringLiteral("big5"));

    TxtQuery = new QComboBox(this);
    TxtQuery->setObjectName(QStringLiteral("TxtQuery"));
    TxtQuery->setEditable(true);
    TxtQuery->setInsertPolicy(QComboBox::NoInsert);
    // A pasted query is searched whole, however long: no silent cut at the
    // line edit's default 32,767 characters.
    TxtQuery->lineEdit()->setMaxLength(std::numeric_limits<int>::max());
    Twips::setGeometry(TxtQuery, 240, 240, 3500, 405);
    TxtQuery->setFont(Fonts::mingLiU(14.25, true));
    QPalette queryColours = TxtQuery->palette();
    queryColours.setColor(QPalette::Text, QColor(0, 0, 128));
    queryColours.setColor(QPalette::Base, queryColours.color(QPalette::Light));
    TxtQuery->setPalette(queryColours);
    resetQueryList();
    TxtQuery->setEditText(QStringLiteral("TxtQuery"));
    TxtQuery->setToolTip(QStringLiteral(u"輸入搜尋的關鍵字例 : 發熱  頭痛 "));
    connect(TxtQuery->lineEdit(), &QLineEdit::returnPressed, this, [this] {
        int key = 13;
        TxtQuery_KeyPress(key);
    });
    TxtQuery->installEventFilter(this);

    setTabOrder(Grd1, Command1);
    setTabOrder(Command1, LblDesc);
    setTabOrder(LblDesc, TxtQuery);
}

void FrmTamvexMain::resetQueryList()
{
    TxtQuery->clear();
    TxtQuery->addItem(QString());
    TxtQuery->addItem(kOpenEditor);
    TxtQuery->addItem(kResetList);
}

void FrmTamvexMain::Form_Load()
{
    TempPagePath = joinTail(joinTail(ProgramFolder(), QStringLiteral("/tmp/")), QStringLiteral("TmpVORNAX.htm"));
    setOuterGeometryTwips(0, 0, 12120, 9100);
    setWindowFlag(Qt::FramelessWindowHint, true);
    if (!m_keyPreview)
        m_keyPreview = new KeyPreview(this, [this](int key, int shift) { Form_KeyDown(key, shift); });
    Grd1->setLeft(200);
    Grd1->setWidth(3520);
    Grd1->setColWidth(0, 3500);
    Grd1->setColWidth(1, 0);
    Grd1->setScrollBars(2);
    Grd1->setTextArray(0, kListHeader);
    TxtQuery->move(Twips::toPixels(Grd1->Left(), this), TxtQuery->y());
    TxtQuery->setEditText(QString());
    navigate(joinTail(joinTail(ProgramFolder(), QStringLiteral("/")), QStringLiteral("Help.htm")));
    RunSearch();
}

void FrmTamvexMain::Form_Unload()
{
    if (isOrdinaryFile(TempPagePath))
        QFile::remove(TempPagePath);
    delete m_keyPreview;
    m_keyPreview = nullptr;
}

bool FrmTamvexMain::RunSearch()
{
    TxtQuery->setEditText(trimBlanks(TxtQuery->currentText()));
    const QueryPlan plan = buildQuery(TxtQuery->currentText());
    TermIndex = plan.TermIndex;
    SqlText = plan.SqlText;
    const SearchOutcome outcome = runSearchIntoGrid(plan, modTamvex::ConnectionString, *this);
    m_lastSearchFailed = outcome == SearchOutcome::Failed;
    return !m_lastSearchFailed;
}

void FrmTamvexMain::Grd1_RowColChange()
{
    const bool secondBranch = usesSecondBranch(LastMode);
    const QString pagePath = Grd1->TextMatrix(Grd1->Row(), 1);
    const QString terms = displayTerms(LastMode, TxtQuery->currentText());
    const HighlightReport report = writeHighlightedPageReport(ProgramFolder(), TempPagePath, pagePath, terms);
    ct->setText(ctCaption(Grd1->Row()));
    if (!secondBranch) {
        if (Grd1->Row() != 0) {
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
    if (report.tempPageWritten)
        navigate(TempPagePath);
    else if (report.pageRead)
        navigate(report.recordPage);
    else
        navigate(QString());
}

void FrmTamvexMain::WriteHighlightedPage(const QString &pagePath, const QString &termsText)
{
    ::WriteHighlightedPage(ProgramFolder(), TempPagePath, pagePath, termsText);
}

void FrmTamvexMain::navigate(const QString &path)
{
    m_navigated = path;
    LblDesc->load(path.isEmpty() ? QUrl(QStringLiteral("about:blank")) : QUrl::fromLocalFile(path));
}

void FrmTamvexMain::TxtQuery_GotFocus()
{
    TxtQuery->lineEdit()->setSelection(0, static_cast<int>(TxtQuery->currentText().size()));
}

bool FrmTamvexMain::eventFilter(QObject *watched, QEvent *event)
{
    // The line edit places its cursor on focus-in itself; select after it.
    if (watched == TxtQuery && event->type() == QEvent::FocusIn)
        QMetaObject::invokeMethod(this, &FrmTamvexMain::TxtQuery_GotFocus, Qt::QueuedConnection);
    return TamvexForm::eventFilter(watched, event);
}

void FrmTamvexMain::TxtQuery_KeyPress(int &keyAscii)
{
    if (keyAscii == 13)
        RunSearch();
}

void FrmTamvexMain::Command1_Click()
{
    CommandText = TxtQuery->currentText();
    if (CommandText != kResetList && CommandText != kOpenEditor) {
        int key = 13;
        TxtQuery_KeyPress(key);
        if (!m_lastSearchFailed && LastHistoryEntry != CommandText) {
            TxtQuery->addItem(TxtQuery->currentText());
            LastHistoryEntry = CommandText;
        }
    } else {
        TxtQuery->setEditText(QString());
    }
    if (CommandText == kOpenEditor) {
        if (TamvexForm *editor = Forms::instance(QStringLiteral("frmBrowser")))
            editor->Show();
    }
    if (CommandText == kResetList) {
        resetQueryList();
        TxtQuery->setEditText(QString());
    }
}

void FrmTamvexMain::Form_KeyDown(int keyCode, int)
{
    switch (routeKey(keyCode)) {
    case KeyAction::FocusResultList:
        Grd1->SetFocus();
        break;
    case KeyAction::FocusQueryBox:
        TxtQuery->setFocus(Qt::OtherFocusReason);
        break;
    case KeyAction::Print:
        printCurrentRow();
        break;
    case KeyAction::Nothing:
    case KeyAction::NotHandled:
        break;
    }
}

void FrmTamvexMain::printCurrentRow()
{
    const Status printed = RecordPrinter::printLine(Grd1->TextMatrix(Grd1->Row(), 0));
    if (!printed.ok())
        MessageBox::showFailure(printed.failure());
}

void FrmTamvexMain::ShowRowToolTip(double x, double y)
{
    Q_UNUSED(x);
    const std::optional<int> row = toolTipRow(Grd1->RowHeight(1), Grd1->RowPos(1), y, Grd1->Rows());
    if (row)
        Grd1->setToolTipText(Grd1->TextMatrix(*row, 0));
}

void FrmTamvexMain::Grd1_MouseMove(int, int, double x, double y)
{
    ShowRowToolTip(x, y);
}
