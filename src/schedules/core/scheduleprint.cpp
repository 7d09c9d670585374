#include "schedules/core/scheduleprint.h"

#include "ui/core/dateinput.h"
#include "schedules/core/gridimport.h"
#include "store/core/database.h"
#include "store/core/dberror.h"
#include "store/core/settings.h"
#include "ui/core/appstate.h"
#include "ui/core/prompter.h"

namespace schedules {

using store::DbError;

namespace {
// Printout margins and title positions of the two schedules.
struct PrintLayout {
    double top, left, bottom;
};
constexpr PrintLayout DailyPrint{800, 125, 285};
constexpr PrintLayout WeeklyPrint{800, 500, 280};
constexpr double TitleX = 650;

bool truthy(const QVariant &v)
{
    return store::Database::toBool(v);
}
} // namespace

SchedulePrint::SchedulePrint(Kind kind, ui::GridModel &grid, ui::Services &services, QString consultant,
                             double widthFactor)
    : m_kind(kind), m_grid(grid), m_s(services), m_consultant(std::move(consultant)),
      m_widthFactor(widthFactor > 0 ? widthFactor : 1.0)
{
    if (m_kind == Kind::Weekly)
        m_orientation = Landscape;
    m_table.setNewPageHandler([this](ui::OutputSurface &out, bool &topSet, bool &, int lastRow) {
        m_sheetEnds.push_back(lastRow);
        newPage(out, topSet);
    });
}

void SchedulePrint::load()
{
    if (m_kind != Kind::Daily)
        return;
    try {
        store::SettingsStore settings(m_s.db);
        m_readPMode = settings.field(QStringLiteral("PMode"));
        m_readFillPage = settings.field(QStringLiteral("FillPage"));
        m_orientation = m_readPMode.toInt() == Landscape ? Landscape : Portrait;
        m_fillPage = truthy(m_readFillPage);
    } catch (const DbError &) {
        // Unreadable settings: the preview starts in portrait, columns as on screen.
    }
}

QString SchedulePrint::orientationCaption() const
{
    return m_orientation == Landscape ? QStringLiteral("&Landscape") : QStringLiteral("&Portrait");
}

void SchedulePrint::toggleOrientation()
{
    if (m_kind == Kind::Weekly)
        return;   // the week is always landscape
    m_orientation = m_orientation == Landscape ? Portrait : Landscape;
}

double SchedulePrint::sheetWidth() const
{
    return m_orientation == Landscape ? A4Long : A4Short;
}

double SchedulePrint::sheetHeight() const
{
    return m_orientation == Landscape ? A4Short : A4Long;
}

QString SchedulePrint::caption() const
{
    return m_kind == Kind::Daily ? QStringLiteral("Print Preview - Daily Schedule")
                                 : QStringLiteral("Print Preview - Weekly Schedule");
}

QDate SchedulePrint::date() const
{
    if (m_kind == Kind::Weekly && m_s.state.week.returnDate.isValid())
        return m_s.state.week.returnDate;
    return m_s.state.pageDate;
}

QString SchedulePrint::dayLabel() const
{
    return m_kind == Kind::Daily ? book::weekdayName(date()) : QString();
}

QString SchedulePrint::dateLabel() const
{
    return m_kind == Kind::Daily ? book::shortDate(date()) : QString();
}

QString SchedulePrint::techLabel() const
{
    return m_kind == Kind::Weekly ? m_consultant : QString();
}

QString SchedulePrint::title() const
{
    return m_kind == Kind::Daily ? QStringLiteral("Daily Schedule") : QStringLiteral("Weekly Schedule");
}

QString SchedulePrint::pdfFileName() const
{
    QString name = title();
    if (m_kind == Kind::Weekly && !m_consultant.trimmed().isEmpty())
        name += QLatin1Char(' ') + m_consultant.trimmed();
    name += QLatin1Char(' ') + date().toString(Qt::ISODate) + QStringLiteral(".pdf");
    // Characters no file system takes in a name.
    static const QString bad = QStringLiteral("/\\:*?\"<>|");
    for (QChar &c : name)
        if (bad.contains(c) || c.unicode() < 32)
            c = QLatin1Char('-');
    return name;
}

void SchedulePrint::newPage(ui::OutputSurface &out, bool &topSet)
{
    // A printer starts a fresh sheet; the preview picture grows by one, under
    // a grey line. Either way the table goes on at the new sheet's top margin.
    out.newPage();
    out.setCurrentY(out.pageTop() + m_table.marginTop);
    topSet = true;
}

std::vector<double> SchedulePrint::paperWidths(double fitWidth) const
{
    // Paper takes the widths the columns have on the screen the layouts were
    // designed for: how wide this station's screen is decides nothing. The
    // daily grid widens every column by the width factor, the weekly one
    // only its time column.
    std::vector<double> w;
    double total = 0;
    for (int c = 0; c < m_grid.cols(); ++c) {
        const bool widened = m_kind == Kind::Daily || c == 0;
        w.push_back(m_grid.colWidth(c) / (widened ? m_widthFactor : 1.0));
        total += w.back();
    }
    // Columns that do not fit are narrowed, all alike, never cut off; on
    // request they are widened to fill the page.
    if (total > 0 && fitWidth > 0 && (m_fillPage || total > fitWidth))
        for (double &x : w)
            x *= fitWidth / total;
    return w;
}

DrawResult SchedulePrint::drawPreview(ui::OutputSurface &picture)
{
    // The picture has the printer's sheets: it shows what the paper will.
    return drawPrint(picture);
}

DrawResult SchedulePrint::drawPrint(ui::OutputSurface &printer)
{
    ui::CellFont titleFont;
    titleFont.name = QStringLiteral("arial");
    titleFont.size = 10;
    titleFont.bold = true;
    printer.setFont(titleFont);
    // The title line, under one empty line.
    const double y = printer.textHeight(QString());
    printer.textAt(TitleX, y, title());
    if (m_kind == Kind::Daily) {
        const bool landscape = m_orientation == Landscape;
        printer.textAt(landscape ? 4000 : 3000, y, dateLabel());
        printer.textAt(landscape ? 8000 : 6000, y, dayLabel());
    } else {
        printer.textAt(7000, y, m_consultant);
    }

    try {
        LoadTableFromGrid(m_table, m_grid, -1);
        const std::vector<double> widths = paperWidths(printer.scaleWidth() - FitAllowance);
        for (int c = 0; c < m_table.cols(); ++c)
            m_table.setColWidth(c, widths[static_cast<size_t>(c)]);
    } catch (const TableError &e) {
        return DrawResult{false, e.number(), e.description()};
    }
    const PrintLayout &l = m_kind == Kind::Daily ? DailyPrint : WeeklyPrint;
    m_table.marginBottom = l.bottom;
    m_table.marginLeft = l.left;
    m_table.marginTop = l.top;
    m_table.setColAlignment(-1, 1);
    printer.setCurrentY(m_table.marginTop);
    m_sheetEnds.clear();
    return m_table.drawTable(printer, 0, 1);
}

void SchedulePrint::reportFailure(const DrawResult &result)
{
    if (!result.ok)
        m_s.prompter.message(result.message(), QStringLiteral("Draw Table"));
}

void SchedulePrint::close()
{
    if (m_kind != Kind::Daily)
        return;
    try {
        store::SettingsStore settings(m_s.db);
        // Each choice is stored over the value this station read; one another
        // station stored meanwhile stays.
        bool refused = false;
        if (m_readPMode.toInt() != m_orientation)
            refused |= settings.writeIfUnchanged(QStringLiteral("PMode"), m_readPMode, m_orientation).has_value();
        if (truthy(m_readFillPage) != m_fillPage)
            refused |= settings.writeIfUnchanged(QStringLiteral("FillPage"), m_readFillPage, m_fillPage).has_value();
        if (refused)
            m_s.prompter.message(QStringLiteral("Another station has stored other print settings meanwhile: "
                                                "they are kept, and this preview's choice was not stored."),
                                 QStringLiteral("Save Settings"));
    } catch (const DbError &e) {
        m_s.prompter.message(e.numbered(), QStringLiteral("Save Settings"));
    }
}

} // namespace schedules
