#pragma once

#include "tamvexform.h"

#include <QPointer>
#include <QString>

#include <memory>

class BackgroundSearch;
class FrmConcordance;
class GraphicalButton;
class QComboBox;
class QLabel;
class QWebEngineView;
class ResultGrid;
class KeyPreview;
class PageHitView;
class ConfinedPageView;
struct DatabaseLocation;
struct SearchOutcome;
enum class SearchMode;
class TermIndexRegistry;
class VariantSwitch;
class VariantTable;

// The working window: query box with its history, search button,
// record-number label, result list and the browser that shows the help page
// and then the highlighted page of the current record.
class FrmTamvexMain : public TamvexForm {
    Q_OBJECT
public:
    FrmTamvexMain();
    ~FrmTamvexMain() override;

    // Controls, by the names the program gives them.
    QComboBox *TxtQuery() const { return m_TxtQuery; }
    QWebEngineView *LblDesc() const { return m_LblDesc; }
    GraphicalButton *Command1() const { return m_Command1; }
    ResultGrid *Grd1() const { return m_Grd1; }
    QLabel *ct() const { return m_ct; }
    QLabel *imgBack() const { return m_imgBack; }
    // The variant search switch (F8) and its badge.
    VariantSwitch *variants() const { return m_variants; }
    // The displayed page's hits (F3, Shift+F3), its count and hit map.
    PageHitView *pageHits() const { return m_pageHits; }

    // Operations.
    void Command1_Click();
    void Form_KeyDown(int keyCode, int shift);
    void ShowRowToolTip(double x, double y);
    void Grd1_MouseMove(int button, int shift, double x, double y);
    // Searches the query box text in the database that ConnectionString
    // names. Rows found: the list is bound to them with the search captions,
    // row 1 and column 1 become current, the list gets the focus (for a
    // list-all search only when it is on show, and it ends scrolled to its
    // top), LastMode becomes the search's mode and the record is displayed
    // last of all. No row: the no-result message is shown and the list, its
    // current row and LastMode stay as they were. A failure is shown once
    // and leaves LastMode as it was; then false is returned.
    // A search that takes longer than a moment runs while the window goes
    // on taking events; Escape, a new search or closing the window abandons
    // it, and an abandoned search shows nothing and changes nothing.
    bool RunSearch();
    // Shows the record of the list's current row. Virtual so that tests can
    // see every display and what the window held at that moment.
    virtual void Grd1_RowColChange();
    void TxtQuery_GotFocus();
    void TxtQuery_KeyPress(int &keyAscii);

    // Makes the record of a result row current and shows its page, where
    // the concordance window found an occurrence of the terms.
    // occurrence is the place of the hit among the term occurrences in the
    // record's content (from 0), hit the text it matched and sameHit its
    // place among the occurrences of that same text (from 0). The content
    // is plain text and the page is marked up, so the page's current hit
    // becomes its sameHit-th mark of that text (the last one when the page
    // has fewer; none, and the view at the top, when it has none).
    void showRecordAtOccurrence(int row, int occurrence, const QString &hit = QString(), int sameHit = -1);

    // The page the browser was last asked to show (a file path; empty for
    // the empty page).
    const QString &navigatedPath() const { return m_navigated; }

protected:
    void Form_Load() override;
    void Form_Unload() override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // Reads and sets the fields below in tests.
    friend class FrmTamvexMainTesting;

    void createControls();
    void navigate(const QString &path);
    void printCurrentRow();
    void resetQueryList();
    DatabaseLocation searchLocation() const;
    void showRows(SearchOutcome outcome, SearchMode mode, const QString &termsText, const QString &query,
                  const VariantTable *variants);
    void finishListAll(const QString &termsText);
    void openConcordance();

    QComboBox *m_TxtQuery = nullptr;
    QWebEngineView *m_LblDesc = nullptr;
    ConfinedPageView *m_pageGuard = nullptr;
    PageHitView *m_pageHits = nullptr;
    QString m_workFolder;
    GraphicalButton *m_Command1 = nullptr;
    ResultGrid *m_Grd1 = nullptr;
    QLabel *m_ct = nullptr;
    QLabel *m_imgBack = nullptr;

    // Fields, by the names the program gives them.
    int TermIndex = 0; // term clauses of the last search's statement
    QString LastMode;  // mode of the last search that found rows
    QString LastHistoryEntry;
    QString TempPagePath;

    KeyPreview *m_keyPreview = nullptr;
    VariantSwitch *m_variants = nullptr;
    // The collection's term index, built in the background while the
    // window is loaded and kept in the tmp folder for later starts.
    std::unique_ptr<TermIndexRegistry> m_index;
    QString m_navigated;
    bool m_lastSearchFailed = false;
    // The search button's query goes into the history only when its search
    // ran to an end.
    bool m_lastSearchAbandoned = false;
    BackgroundSearch *m_search = nullptr;
    // Closing asked for while a long search was waited for: the search is
    // abandoned and the window closes once the wait has returned, so that
    // it is never unloaded and dropped under a search on the stack.
    bool m_closeAfterSearch = false;
    // Shown while a long search is waited for.
    QLabel *m_searching = nullptr;
    // The concordance (F9) of the query whose rows the list holds.
    QPointer<FrmConcordance> m_concordance;
    QString m_rowsQuery;
    const VariantTable *m_rowsVariants = nullptr; // the table that search used; null for an exact one
};
