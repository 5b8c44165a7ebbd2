#pragma once

#include "concordance.h"
#include "concordanceexport.h"
#include "databaselocation.h"
#include "tamvexform.h"

#include <QString>

#include <memory>

class ConcordanceModel;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableView;

class TermIndexRegistry;
class VariantTable;

// The concordance window: every occurrence of the current query's terms in
// the content of its result records, one line each as title, left context,
// hit and right context, with a count, a filter, a choice of order and of
// context width, export to a file and copy to the clipboard. Activating a
// line (double-click or Enter) hands its record and occurrence to whoever
// shows records (lineActivated).
class FrmConcordance : public TamvexForm {
    Q_OBJECT
public:
    explicit FrmConcordance(QWidget *owner = nullptr);
    ~FrmConcordance() override;

    // Reads the lines of queryText from the database at location and shows
    // the window with them. No query, no occurrence or a failure: the
    // message is shown, the window keeps what it showed and false is
    // returned. variants: the table the search of the listed rows used (null
    // for an exact search); index: the collection's term index, read when it
    // fits (null: the table is read whole). Both must outlive the window's
    // use of them.
    bool showConcordance(const DatabaseLocation &location, const QString &queryText,
                         const VariantTable *variants = nullptr, TermIndexRegistry *index = nullptr);

    // Writes the lines on view, in their order, to path: CSV when its name
    // ends in ".csv", TSV otherwise. A failure is shown; false then.
    bool exportTo(const QString &path);
    // Puts the selected lines on the clipboard as TSV, in view order.
    void copySelection();
    // As a double-click on the row of the table.
    void activateRow(int row);

    QLabel *countLabel() const { return m_count; }
    QLineEdit *filterBox() const { return m_filter; }
    QComboBox *sortBox() const { return m_sort; }
    QSpinBox *widthBox() const { return m_width; }
    QTableView *lineList() const { return m_list; }
    const ConcordanceModel *model() const { return m_model; }

Q_SIGNALS:
    // resultRow: the record's row in the result list (from 1); occurrence:
    // the place of the hit among the occurrences in the record's content
    // (from 0); hit: the text it matched; sameHit: its place among the
    // occurrences in the content that matched that same text (from 0).
    void lineActivated(int resultRow, const QString &subject, const QString &htm, int occurrence, const QString &hit,
                       int sameHit);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    bool reread();
    void applyView();
    void updateCount();
    void askExport();

    ConcordanceModel *m_model = nullptr;
    QLabel *m_count = nullptr;
    QLineEdit *m_filter = nullptr;
    QComboBox *m_sort = nullptr;
    QSpinBox *m_width = nullptr;
    QPushButton *m_export = nullptr;
    QPushButton *m_copy = nullptr;
    QTableView *m_list = nullptr;

    DatabaseLocation m_location;
    QString m_query;
    const VariantTable *m_variants = nullptr;
    TermIndexRegistry *m_index = nullptr;
    std::shared_ptr<const Concordance> m_concordance;
};
