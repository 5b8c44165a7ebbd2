#pragma once

#include "varianttable.h"

#include <QObject>
#include <QString>

#include <optional>

class QLabel;
class QWidget;
struct QueryPlan;

// The variant search switch of the main window: off by default, toggled by
// F8, kept per user for the next start, and shown while on by a small «通»
// badge beside the query box. While on, a search asks for every variant and
// traditional form of each character and the page marks the glyphs printed.
class VariantSwitch : public QObject {
    Q_OBJECT
public:
    // The settings key under which the state is kept.
    static constexpr auto SettingsKey = "search/variants";

    // Makes the badge on window and takes the kept state. A kept "on" whose
    // table cannot be read starts off, silently; F8 then says why.
    explicit VariantSwitch(QWidget *window);

    bool isOn() const { return m_on; }
    // Off -> on (reading the program folder's table first; when it cannot
    // be read the failure is shown and the switch stays off), on -> off.
    // The new state is kept.
    void toggle();

    // The statement of the trimmed query box text: buildQuery's while off,
    // buildVariantQuery's while on.
    QueryPlan plan(const QString &trimmedText) const;
    // The table the page marker uses: null while off.
    const VariantTable *markingTable() const { return m_on && m_table ? &*m_table : nullptr; }

    QLabel *badge() const { return m_badge; }

private:
    // Reads the table once; the failure when it cannot be read.
    std::optional<Failure> loadTable();
    void show();

    QLabel *m_badge = nullptr;
    bool m_on = false;
    std::optional<VariantTable> m_table;
};
