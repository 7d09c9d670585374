#include "setup/core/setupcontroller.h"

#include "book/pages/columnwidths.h"
#include "book/pages/pagegrid.h"
#include "book/pages/pagestore.h"
#include "setup/core/settings.h"
#include "store/core/changelog.h"
#include "store/core/database.h"
#include "store/core/dberror.h"
#include "book/pages/pagetext.h"
#include "ui/core/appstate.h"
#include "ui/core/desktop.h"
#include "ui/core/prompter.h"
#include "ui/core/services.h"
#include "ui/core/windows.h"

#include <QDate>
#include <algorithm>

namespace setup {

namespace {

const QString TimeNotice = QStringLiteral(
    "Please note: Changed time settings will apply only to new 'empty' pages. Existing pages with "
    "appointment data saved will retain original time settings.");
const QString TimeNoticeTitle = QStringLiteral("Changing Time Settings");
const QString TimeError = QStringLiteral("Closing time earlier than Opening time!");
const QString TimeErrorTitle = QStringLiteral("Time Setting Error");
const QString TemplateQuestion =
    QStringLiteral("Do you wish to configure page templates for each day of the week?");
const QString TemplateTitle = QStringLiteral("Configure Page Template");
const QString OkayTitle = QStringLiteral("CmdOkay");
const QString LoadTitle = QStringLiteral("Form_Load");

constexpr int MaxProviders = 20;
constexpr int NumberRowHeight = 300;   // twips
constexpr int NameRowHeight = 360;

int providersFrom(int value) { return std::clamp(value, 1, MaxProviders); }

// A name may not carry the characters that separate names in the stored
// list or cells in a page text.
QString cleanName(const QString &text)
{
    QString s = text;
    s.remove(QLatin1Char('%'));
    s.remove(QChar(9));
    s.remove(QChar(13));
    s.remove(QChar(10));
    return s;
}

} // namespace

SetupController::SetupController(ui::Services &services) : m_services(services)
{
    ui::CellFont font;
    font.name = QStringLiteral("Arial");
    font.size = 8;
    font.bold = true;
    m_grid.setFont(font);
}

bool SetupController::load(double widthFactor)
{
    m_widthFactor = widthFactor;
    m_services.state.widthFactor = widthFactor;
    try {
        m_loaded = SettingsStore(m_services.db).load();
    } catch (const store::DbError &e) {
        m_services.prompter.message(QString::number(e.number()) + QStringLiteral(" - ") +
                                        e.description(),
                                    LoadTitle);
        return false;
    }
    setField(Field::Text1, m_loaded.location);
    fillTime(m_loaded.open, Field::txtHrO, Field::txtMinO, Field::txtAM);
    fillTime(m_loaded.close, Field::txtHrC, Field::txtMinC, Field::txtPM);
    setField(Field::Text4, QString::number(m_loaded.timeslot));
    setField(Field::txtRHT, QString::number(m_loaded.rHeight));
    setField(Field::Text5, QString::number(m_loaded.listno));
    m_read = {{QStringLiteral("location"), m_loaded.location}, {QStringLiteral("open"), m_loaded.open},
              {QStringLiteral("Close"), m_loaded.close},       {QStringLiteral("timeslot"), m_loaded.timeslot},
              {QStringLiteral("RHeight"), m_loaded.rHeight},   {QStringLiteral("Listno"), m_loaded.listno}};
    m_shown = fieldValues();
    buildGrid(m_loaded.listno);
    return true;
}

void SetupController::fillTime(const QString &stored, Field hour, Field minutes, Field amPm)
{
    // The fields take the time by character position; a time stored in
    // another readable form is put into "hh:mm AM" first.
    const auto parsed = book::page::parseTime(stored);
    const QString s = parsed ? book::page::formatTime(*parsed) : stored;
    setField(hour, s.mid(0, 2));
    setField(minutes, s.mid(3, 2));
    setField(amPm, s.mid(6, 2));
}

QString SetupController::text(Field f) const
{
    return isTextField(f) ? m_form.text(fieldName(f)) : QString();
}

void SetupController::setField(Field f, const QString &text)
{
    m_form.assign(fieldName(f), text);
}

QString SetupController::setText(Field f, const QString &text)
{
    if (!isTextField(f))
        return text;
    return m_form.setText(fieldName(f), text);
}

LeaveResult SetupController::leave(Field f)
{
    if (!isTextField(f))
        return {LeaveResult::Ok, QString()};
    const LeaveResult r = m_form.leave(fieldName(f));
    if (f == Field::Text5)
        buildGrid(digitsValue(r.text));
    return r;
}

std::optional<Field> SetupController::enterPressed(Field f) const
{
    if (!isTextField(f))
        return nextField(f);
    const ui::FormModel::EnterTarget t = m_form.enterFrom(fieldName(f));
    if (t.kind != ui::FormModel::EnterTarget::To)
        return std::nullopt;
    return fieldByName(t.to);
}

store::Settings SetupController::storedSettings()
{
    // The names and widths Okay stored before a refused time are the stored
    // ones from then on, so the record is read afresh.
    try {
        m_loaded = SettingsStore(m_services.db).load();
    } catch (const store::DbError &) {
        // Keep what was read last.
    }
    return m_loaded;
}

void SetupController::buildGrid(int n)
{
    closeEditor();
    const store::Settings s = storedSettings();
    m_n = providersFrom(n);
    m_grid.beginUpdate();
    m_grid.setRows(2);
    book::setupColumns(m_grid, m_n + 1, book::page::splitList(s.names), s.cwidth, m_widthFactor);
    m_grid.setFixedRows(1);
    m_grid.setFixedCols(1);
    // The names row is tall enough for the editor laid over its cells.
    m_grid.setRowHeight(0, NumberRowHeight);
    m_grid.setRowHeight(1, NameRowHeight);
    m_grid.setCursor(1, 1);
    m_grid.endUpdate();
    // The grid now shows the names and widths as stored.
    m_read.insert(QStringLiteral("names"), s.names);
    m_read.insert(QStringLiteral("cwidth"), s.cwidth);
    const QVariantMap shown = gridValues();
    m_shown.insert(shown);
}

QVariantMap SetupController::gridValues() const
{
    QStringList names;
    std::vector<int> widths;
    for (int c = book::pos::FirstCol; c <= m_n && c < m_grid.cols(); ++c) {
        names << cleanName(m_grid.textMatrix(book::pos::NameRow, c));
        widths.push_back(m_grid.colWidth(c));
    }
    return {{QStringLiteral("names"), book::page::joinList(names)},
            {QStringLiteral("cwidth"), book::widths::storedForm(widths)}};
}

QVariantMap SetupController::fieldValues() const
{
    return {{QStringLiteral("location"), text(Field::Text1)},
            {QStringLiteral("open"), timeText(Field::txtHrO, Field::txtMinO, Field::txtAM)},
            {QStringLiteral("Close"), timeText(Field::txtHrC, Field::txtMinC, Field::txtPM)},
            {QStringLiteral("timeslot"), digitsValue(text(Field::Text4))},
            {QStringLiteral("RHeight"), digitsValue(text(Field::txtRHT))},
            {QStringLiteral("Listno"), providersFrom(digitsValue(text(Field::Text5)))}};
}

// The names grid is one control over two fields: both are written when the
// user changed a name, a width or the number of providers.
bool SetupController::gridChanged() const
{
    const QVariantMap now = gridValues();
    return m_n != m_read.value(QStringLiteral("Listno")).toInt()
        || now.value(QStringLiteral("names")) != m_shown.value(QStringLiteral("names"))
        || now.value(QStringLiteral("cwidth")) != m_shown.value(QStringLiteral("cwidth"));
}

SetupController::EditorOpening SetupController::gridKeyPress(QChar ch)
{
    if (ch == QChar(9))
        return {};
    m_editRow = std::max(m_grid.row(), m_grid.fixedRows());
    m_editCol = std::max(m_grid.col(), m_grid.fixedCols());
    m_editText = m_grid.textMatrix(m_editRow, m_editCol);
    m_editing = true;
    EditorOpening o;
    o.open = true;
    if (ch != QChar(13))
        o.pass = editorChar(ch).value_or(QChar());
    return o;
}

std::optional<QChar> SetupController::editorChar(QChar ch) const
{
    if (ch == QChar(8))
        return ch;
    if (ch == QLatin1Char('%') || ch == QChar(9) || ch == QChar(13) || ch == QChar(10))
        return std::nullopt;
    return ch;
}

QString SetupController::editorChanged(const QString &text)
{
    const QString s = cleanName(text);
    if (!m_editing)
        return s;
    m_editText = s;
    m_grid.setTextMatrix(m_editRow, m_editCol, s);
    return s;
}

void SetupController::closeEditor() { m_editing = false; }

Field SetupController::reset()
{
    const std::pair<Field, const char *> values[] = {
        {Field::Text1, "Office"}, {Field::txtHrO, "08"},  {Field::txtMinO, "00"},
        {Field::txtAM, "AM"},     {Field::txtHrC, "05"},  {Field::txtMinC, "00"},
        {Field::txtPM, "PM"},     {Field::Text4, "30"},
    };
    for (const auto &[f, v] : values)
        setField(f, QString::fromLatin1(v));
    const store::Settings s = storedSettings();
    setField(Field::Text5, QString::number(s.listno));
    m_read.insert(QStringLiteral("Listno"), s.listno);
    m_shown.insert(QStringLiteral("Listno"), providersFrom(s.listno));
    buildGrid(s.listno);
    return Field::Text1;
}

std::optional<Field> SetupController::settleFields()
{
    std::optional<Field> bad;
    for (int i = 0; i < TextFieldCount; ++i) {
        const Field f = fieldAt(i);
        const LeaveResult r = m_form.leave(fieldName(f));
        if (!r.ok() && !bad)
            bad = f;
    }
    return bad;
}

QString SetupController::timeText(Field hour, Field minutes, Field amPm) const
{
    return text(hour) + QLatin1Char(':') + text(minutes) + QLatin1Char(' ') + text(amPm);
}

void SetupController::showError(int number, const QString &description)
{
    m_services.prompter.message(QString::number(number) + QStringLiteral(" - ") + description,
                                OkayTitle);
}

namespace {

// The settings as the window names them, in its order.
const std::pair<const char *, const char *> Labels[] = {
    {"location", "1. Service location"},
    {"open", "2. First appointment"},
    {"Close", "3. Last appointment"},
    {"timeslot", "4. Minutes for each appointment"},
    {"RHeight", "5. Text lines in the timeslots"},
    {"Listno", "6. Number of service providers"},
    {"names", "7. Names of service providers"},
    {"cwidth", "Column widths of the names"},
};

QString shownValue(const QString &field, const QVariant &value)
{
    if (field == QLatin1String("names") || field == QLatin1String("cwidth"))
        return book::page::splitList(value.toString()).join(QStringLiteral(", "));
    return value.toString();
}

} // namespace

// Nothing was written. Every value the user has in the window is listed, the
// ones another station changed meanwhile with what is stored now; the boxes
// keep them, and the next Okay stores them over what the user has now seen.
void SetupController::contested(const store::SettingsStore::FieldsWrite &w, const QVariantMap &values)
{
    QVariantMap typed = fieldValues();
    typed.insert(gridValues());
    QStringList lines;
    for (const auto &[f, label] : Labels) {
        const QString field = QString::fromLatin1(f);
        const bool changed = w.contested.contains(field);
        if (field == QLatin1String("cwidth") && !changed)
            continue;   // widths are dragged, not typed: named only when contested
        QString line = QStringLiteral("%1: %2").arg(QLatin1String(label), shownValue(field, typed.value(field)));
        if (changed)
            line += QStringLiteral("   (changed meanwhile to: %1)").arg(shownValue(field, w.stored.value(field)));
        lines << line;
    }
    for (const QString &field : w.contested) {
        const QVariant stored = w.stored.value(field);
        m_read.insert(field, values.value(field).typeId() == QMetaType::Int ? QVariant(stored.toInt())
                                                                           : QVariant(stored.toString()));
    }
    m_services.prompter.message(
        QStringLiteral("Another station has changed the settings since this window read them, so nothing was "
                       "stored. Your values are still in their boxes:\n\n%1\n\nPress Okay again to store them "
                       "in place of the other station's, or close the window to keep what is stored.")
            .arg(lines.join(QLatin1Char('\n'))),
        OkayTitle, ui::Icon::Warning);
}

SetupController::OkayResult SetupController::okay()
{
    // The settings, and the pages emptied or given new columns, as one command.
    const store::CommandScope command(m_services.db, QStringLiteral("Okay"));
    closeEditor();
    // A field left with a refused value (a click on Okay takes the focus
    // away before the field can take it back) must not be stored.
    if (const auto bad = settleFields())
        return {OkayResult::Invalid, bad};
    // Okay reshapes the pages and closes the book: an entry typed there is
    // stored first (or the user goes back to it).
    if (!m_services.windows.settle({ui::win::Appt}))
        return {OkayResult::Unsettled, std::nullopt};

    m_services.prompter.message(TimeNotice, TimeNoticeTitle);
    const int listed = digitsValue(text(Field::Text5));
    if (listed != m_n)
        buildGrid(listed);
    const QVariantMap grid = gridValues();
    m_namesText = grid.value(QStringLiteral("names")).toString();
    m_widthsText = grid.value(QStringLiteral("cwidth")).toString();

    const QVariantMap fields = fieldValues();
    const bool timeOk = book::page::parseTime(fields.value(QStringLiteral("open")).toString()).value_or(0)
        <= book::page::parseTime(fields.value(QStringLiteral("Close")).toString()).value_or(0);
    // Only what this station changed, each over the value it read. The names
    // and widths are stored even when the times are refused.
    QVariantMap values;
    if (gridChanged())
        values.insert(grid);
    if (timeOk)
        for (auto it = fields.begin(); it != fields.end(); ++it)
            if (*it != m_shown.value(it.key()))
                values.insert(it.key(), *it);
    values.remove(QStringLiteral("Listno"));
    if (timeOk && m_n != m_read.value(QStringLiteral("Listno")).toInt())
        values.insert(QStringLiteral("Listno"), m_n);

    SettingsStore settings(m_services.db);
    m_edit = {};
    if (!values.isEmpty()) {
        try {
            const auto w = settings.writeFields(m_read, values);
            if (!w.written()) {
                contested(w, values);
                return {OkayResult::Contested, std::nullopt};
            }
            m_edit = w.edit;
        } catch (const store::DbError &e) {
            showError(e.number(), e.description());
            return {OkayResult::Failed, std::nullopt};
        }
        // What is stored now is what this station read.
        for (auto it = values.begin(); it != values.end(); ++it)
            m_read.insert(it.key(), *it);
        m_shown.insert(values);
    }

    if (!timeOk) {
        m_services.prompter.message(TimeError, TimeErrorTitle);
        return {OkayResult::Refused, Field::txtHrC};
    }

    try {
        book::PageStore pages(m_services.db);
        pages.removeEmptyPages();
        // The columns as stored: another station's names stay when this
        // station left them alone.
        const store::Settings stored = settings.load();
        pages.recolumnPages(m_services.clock.today(), stored.listno, stored.names);
        if (m_services.windows.isLoaded(ui::win::Appt))
            m_services.windows.unload(ui::win::Appt);
    } catch (const store::DbError &e) {
        showError(e.number(), e.description());
        return {OkayResult::Failed, std::nullopt};
    }

    const bool templates = m_services.prompter.ask(TemplateQuestion, TemplateTitle);
    m_services.windows.replace(ui::win::Setup, templates ? ui::win::Configure : ui::win::Appt);
    return {OkayResult::Closed, std::nullopt};
}

void SetupController::closedByUser() { m_services.windows.show(ui::win::Menu); }

} // namespace setup
