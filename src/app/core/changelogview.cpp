#include "app/core/changelogview.h"

#include "store/core/database.h"
#include "store/core/dberror.h"
#include "ui/core/desktop.h"
#include "ui/core/outputsurface.h"
#include "ui/core/prompter.h"
#include "ui/core/sheetprinter.h"

#include <QLocale>

namespace app {

ChangeLogView::ChangeLogView(ui::Services &services) : m_s(services)
{
    m_filter.to = m_s.clock.today();
    m_filter.from = m_filter.to.addDays(-7);
}

void ChangeLogView::setRecord(const QString &record)
{
    const QString text = record.trimmed();
    const qsizetype gap = text.indexOf(QLatin1Char(' '));
    m_filter.kind = (gap < 0 ? text : text.left(gap)).toLower();
    m_filter.key = gap < 0 ? QString() : text.mid(gap + 1).trimmed();
}

bool ChangeLogView::refresh()
{
    try {
        std::vector<Row> rows;
        for (const store::LogEntry &e : store::ChangeLog::between(m_s.db, m_filter))
            rows.push_back(rowOf(e));
        m_rows = std::move(rows);
        m_stations = store::ChangeLog::stations(m_s.db);
        m_users = store::ChangeLog::users(m_s.db);
        return true;
    } catch (const store::DbError &e) {
        m_s.prompter.message(e.numbered(), QStringLiteral("Change Log"), ui::Icon::Critical);
        return false;
    }
}

ChangeLogView::Row ChangeLogView::rowOf(const store::LogEntry &e)
{
    Row r;
    r.when = QLocale().toString(e.at, QStringLiteral("MM/dd/yyyy hh:mm:ss AP"));
    r.station = e.station;
    r.user = e.user;
    r.command = e.command;
    r.record = (e.kind + QLatin1Char(' ') + e.key).trimmed();
    QStringList parts;
    for (const store::FieldChange &c : e.changes) {
        // A cell by its time and consultant, as the page showed them.
        const QString field = c.label.isEmpty() ? c.field : QString(c.label).replace(QLatin1Char('\t'), QLatin1Char(' ')) +
                                                                (c.field.endsWith(QLatin1String(" colour"))
                                                                     ? QStringLiteral(" colour")
                                                                     : QString());
        parts << QStringLiteral("%1: \"%2\" -> \"%3\"")
                     .arg(field, store::ChangeLog::shown(c.before), store::ChangeLog::shown(c.after));
    }
    r.changes = parts.join(QStringLiteral("; "));
    return r;
}

QString ChangeLogView::title() const
{
    const QLocale l;
    return QStringLiteral("Change Log  %1 - %2")
        .arg(l.toString(m_filter.from, QStringLiteral("MM/dd/yyyy")), l.toString(m_filter.to, QStringLiteral("MM/dd/yyyy")));
}

QString ChangeLogView::print(ui::SheetPrinter &printer) const
{
    return printer.print(QStringLiteral("Change Log"), true, [this](ui::OutputSurface &s) { draw(s); });
}

// One line per entry, its changes wrapped below it; a new sheet when the
// next line would pass the bottom.
void ChangeLogView::draw(ui::OutputSurface &s) const
{
    const double left = 0, width = s.scaleWidth();
    const double line = s.textHeight(QStringLiteral("Ag"));
    double y = s.pageTop();
    double bottom = y + s.scaleHeight();
    const auto put = [&](const QString &text, double indent) {
        if (y + line > bottom) {
            s.newPage();
            y = s.pageTop();
            bottom = y + s.scaleHeight();
        }
        s.textAt(left + indent, y, text);
        y += line;
    };
    put(title(), 0);
    y += line / 2;
    for (const Row &r : m_rows) {
        put(QStringLiteral("%1   %2 (%3)   %4   %5").arg(r.when, r.station, r.user, r.command, r.record), 0);
        // Changes wrapped by words to the width of the sheet.
        QString rest = r.changes;
        const double indent = 360;
        while (!rest.isEmpty()) {
            qsizetype take = rest.size();
            while (take > 1 && s.textWidth(rest.left(take)) > width - indent) {
                const qsizetype space = rest.lastIndexOf(QLatin1Char(' '), take - 1);
                take = space > 0 ? space : take - 1;
            }
            put(rest.left(take), indent);
            rest = rest.mid(take).trimmed();
        }
    }
}

} // namespace app
