#include "variantswitch.h"

#include "fonts.h"
#include "messagebox.h"
#include "programfolder.h"
#include "queryplan.h"
#include "variantplan.h"

#include <QLabel>
#include <QSettings>

namespace {
// Per user, under the program's own name (the program sets no application
// name of its own, so it is given here).
bool keptState()
{
    const QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tamvex"),
                             QStringLiteral("Tamvex"));
    return settings.value(QLatin1String(VariantSwitch::SettingsKey), false).toBool();
}

void keep(bool on)
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tamvex"), QStringLiteral("Tamvex"));
    settings.setValue(QLatin1String(VariantSwitch::SettingsKey), on);
    settings.sync();
}
}

VariantSwitch::VariantSwitch(QWidget *window) : QObject(window)
{
    m_badge = new QLabel(QStringLiteral(u"通"), window);
    m_badge->setObjectName(QStringLiteral("VariantBadge"));
    m_badge->setAlignment(Qt::AlignCenter);
    m_badge->setAutoFillBackground(true);
    QPalette colours = m_badge->palette();
    colours.setColor(QPalette::Window, QColor(160, 24, 28));
    colours.setColor(QPalette::WindowText, QColor(255, 255, 255));
    m_badge->setPalette(colours);
    m_badge->setFont(Fonts::mingLiU(12, true));
    m_badge->setToolTip(tr("異體字、簡體字通檢：開（按 F8 關閉）"));
    m_on = keptState() && !loadTable();
    show();
}

std::optional<Failure> VariantSwitch::loadTable()
{
    if (m_table)
        return std::nullopt;
    Result<VariantTable> table = VariantTable::load(ProgramFolder());
    if (!table)
        return table.failure();
    m_table = std::move(table).value();
    return std::nullopt;
}

void VariantSwitch::toggle()
{
    if (!m_on) {
        if (const std::optional<Failure> failed = loadTable()) {
            MessageBox::showFailure(*failed);
            return;
        }
    }
    m_on = !m_on;
    keep(m_on);
    show();
}

void VariantSwitch::show()
{
    m_badge->setVisible(m_on);
}

QueryPlan VariantSwitch::plan(const QString &trimmedText) const
{
    if (const VariantTable *table = markingTable())
        return buildVariantQuery(trimmedText, *table);
    return buildQuery(trimmedText);
}
