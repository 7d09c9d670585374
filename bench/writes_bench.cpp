// A station's everyday writes as the user makes them through the windows'
// controllers: one changed fee of an invoice saved, and one changed cell of
// Monday's template stored with its step. On db.mdb and, with
// QUILLON_TEST_PG, on a server. Only the save and the step are timed; the
// typing before them is not.
#include "benchplace.h"
#include "accounts/core/accountcontroller.h"
#include "accounts/core/accountfields.h"
#include "book/pages/pagetext.h"
#include "setup/core/templatecontroller.h"
#include "store/core/schema.h"
#include "store/core/settings.h"
#include "support/doubles/recordingreporter.h"

#include <QDate>
#include <memory>
#include <string>

namespace {

using bench::Engine;

// 100,000 invoices of 30,000 patients, as for the account summaries, and a
// setup of 20 consultants and 40 time rows whose seven weekday templates
// each block out a fifth of the cells.
constexpr int Patients = 30000;
constexpr int Invoices = 100000;
constexpr int Consultants = 20;

struct Practice : bench::Desk {
    int file = 0;   // the patient whose last invoice is saved

    explicit Practice(Engine e) : Desk(e)
    {
        if (!open())
            return;
        QStringList names;
        for (int c = 1; c <= Consultants; ++c)
            names << QStringLiteral("Consultant %1").arg(c);
        QVariantMap setup{{"open", "07:00 AM"}, {"Close", "04:45 PM"}, {"timeslot", 15},
                          {"Listno", Consultants}, {"names", book::page::joinList(names)}};
        const int rows =
            book::page::dataRows(static_cast<int>(book::page::timeRows(7 * 60, 16 * 60 + 45, 15).size()));
        for (int dow = 1; dow <= 7; ++dow) {
            book::page::Cells cells(static_cast<size_t>(rows));
            for (int r = 0; r < rows; ++r)
                for (int c = 0; c < Consultants; ++c)
                    cells[static_cast<size_t>(r)] << ((r + c + dow) % 5 == 0 ? QStringLiteral("OUT") : QString());
            setup.insert(store::Settings::templateField(dow), book::page::encode(cells));
        }
        store::SettingsStore(db).write(setup);

        db.beginWrite();
        std::vector<int> files;
        for (int i = 0; i < Patients; ++i)
            files.push_back(db.insert(store::tables::PatientDetails,
                                      {{"PFirstName", QString("FIRST%1").arg(i % 500)},
                                       {"PLastName", QString("LAST%1").arg(i, 5, 10, QChar('0'))}}));
        for (int i = 0; i < Invoices; ++i) {
            const QString fee = QString::number(50 + i % 40) + ".00";
            db.insert(store::tables::Accounts,
                      {{"FileNo", files[size_t(i % Patients)]},
                       {"IssueDate", QDate(2016, 1, 4).addDays(i % 3650).toString("MM/dd/yyyy")},
                       {"Treatment1", "CONSULTATION"}, {"Amount1", fee}, {"Subtotal", fee},
                       {"Discount", "00.00"}, {"AmountPaid", "00.00"}, {"BalanceDue", fee},
                       {"Referrer", QString("REF%1").arg(i % 200)}, {"PayTo", "DR AVERY"}});
        }
        db.commit();
        file = files[12345];
        ready = true;
    }
};

std::unique_ptr<Practice> practices[2];

Practice *practice(Engine e, benchmark::State &state)
{
    return bench::practiceFor(practices, e, state);
}

// Any prompt means the write was refused or failed: the figure would be wrong.
bool prompted(Practice &p, benchmark::State &state)
{
    if (p.prompter.transcript().empty())
        return false;
    static std::string why;
    why = "prompted: " + p.prompter.last().text.toStdString();
    state.SkipWithError(why.c_str());
    return true;
}

// F9 on the patient's last invoice after a new fee was typed into its first line.
void BM_InvoiceSave(benchmark::State &state, Engine e)
{
    Practice *p = practice(e, state);
    if (!p)
        return;
    namespace b = accounts::invoice::box;
    report::RecordingReporter reporter;
    accounts::AccountController inv(p->services, reporter);
    if (!inv.load()) {
        state.SkipWithError("the invoices could not be read");
        return;
    }
    p->state.currentFileNo = p->file;
    inv.arrive();
    int i = 0;
    QString fee;
    for (auto _ : state) {
        state.PauseTiming();
        fee = i++ % 2 ? "120.00" : "95.50";
        inv.form().setText(b::amount(0), fee);
        inv.edited(b::amount(0));
        inv.amountFocusChanged();
        state.ResumeTiming();
        if (!inv.save()) {
            state.SkipWithError("the invoice was not saved");
            break;
        }
        if (prompted(*p, state))
            break;
    }
    // A save that wrote nothing would make the figure meaningless.
    if (p->db.scalar("SELECT Amount1 FROM tbl_Accounts WHERE Invoice = ?", {inv.invoiceNo()}).toString() != fee)
        state.SkipWithError("the fee typed is not stored");
}
BENCHMARK_CAPTURE(BM_InvoiceSave, sqlite, Engine::Sqlite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_InvoiceSave, postgres, Engine::Postgres)->Unit(benchmark::kMillisecond);

// The template window opened on Monday, one cell typed (Enter, the text,
// Tab), and the step finished: Monday stored, Tuesday shown.
void BM_TemplateStore(benchmark::State &state, Engine e)
{
    Practice *p = practice(e, state);
    if (!p)
        return;
    std::unique_ptr<setup::TemplateController> ctl;
    int i = 0;
    QString typed;
    for (auto _ : state) {
        state.PauseTiming();
        typed = i++ % 2 ? "LUNCH" : "MEETING";
        ctl = std::make_unique<setup::TemplateController>(p->services);
        p->prompter.expectMessage();   // the instructions on the first activation
        if (!ctl->load(1.0)) {
            state.SkipWithError("the templates could not be read");
            break;
        }
        ctl->activate();
        p->prompter.clear();
        ctl->grid().setCursor(7, 4);
        ctl->gridKeyPress(QChar(13));
        ctl->setEditorText(typed);
        ctl->editorKeyPress(QChar(9));
        state.ResumeTiming();
        if (!ctl->finishStep()) {
            state.SkipWithError("the step was not stored");
            break;
        }
        if (prompted(*p, state))
            break;
    }
    ctl.reset();
    // Grid row 7, column 4 is the text's sixth line, fourth cell.
    const auto monday = book::page::decode(p->db.scalar("SELECT Mon FROM tbl_Setup").toString());
    if (monday.size() < 6 || monday[5].size() < 4 || monday[5][3] != typed)
        state.SkipWithError("the cell typed is not stored");
}
BENCHMARK_CAPTURE(BM_TemplateStore, sqlite, Engine::Sqlite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TemplateStore, postgres, Engine::Postgres)->Unit(benchmark::kMillisecond);

} // namespace

void closeWritePractices()
{
    for (auto &p : practices)
        p.reset();
}
