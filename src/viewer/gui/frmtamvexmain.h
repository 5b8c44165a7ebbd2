#pragma once

#include "searchhost.h"
#include "tamvexform.h"

#include <QString>

class GraphicalButton;
class QComboBox;
class QLabel;
class QWebEngineView;
class ResultGrid;
class KeyPreview;

// The working window: query box with its history, search button,
// record-number label, result list and the browser that shows the help page
// and then the highlighted page of the current record.
class FrmTamvexMain : public TamvexForm, public SearchHost {
    Q_OBJECT
public:
    FrmTamvexMain();
    ~FrmTamvexMain() override;

    // Controls, by the names the program gives them.
    QComboBox *TxtQuery = nullptr;
    QWebEngineView *LblDesc = nullptr;
    GraphicalButton *Command1 = nullptr;
    ResultGrid *Grd1 = nullptr;
    QLabel *ct = nullptr;
    QLabel *imgBack = nullptr;

    // Fields.
    int TermIndex = 0;
    QString SqlText;
    QString LastMode;
    QString CommandText;
    QString LastHistoryEntry;
    QString TempPagePath;

    // Operations.
    void Command1_Click();
    void Form_KeyDown(int keyCode, int shift);
    void ShowRowToolTip(double x, double y);
    void Grd1_MouseMove(int button, int shift, double x, double y);
    // Returns false when the search failed (and was reported).
    bool RunSearch();
    void Grd1_RowColChange() override;
    void WriteHighlightedPage(const QString &pagePath, const QString &termsText);
    void TxtQuery_GotFocus();
    void TxtQuery_KeyPress(int &keyAscii);

    // What the search run needs of the window.
    ResultGrid &resultGrid() override { return *Grd1; }
    void setLastMode(const QString &mode) override { LastMode = mode; }

    // The page the browser was last asked to show (a file path; empty for
    // the empty page).
    const QString &navigatedPath() const { return m_navigated; }

protected:
    void Form_Load() override;
    void Form_Unload() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void navigate(const QString &path);
    void printCurrentRow();
    void resetQueryList();

    KeyPreview *m_keyPreview = nullptr;
    QString m_navigated;
    bool m_lastSearchFailed = false;
};
