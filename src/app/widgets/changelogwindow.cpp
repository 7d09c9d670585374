#include "app/widgets/changelogwindow.h"

#include "app/core/appcommands.h"
#include "ui/widgets/commandtable.h"

#include "report/widgets/pdffilechooser.h"
#include "report/widgets/sheetprinters.h"
#include "ui/core/appstate.h"
#include "ui/core/prompter.h"
#include "ui/core/windows.h"
#include "ui/widgets/windowregistry.h"
#include "ui/widgets/controls.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>

namespace app {

namespace {

const QString AnyOne = QStringLiteral("(all)");

QComboBox *choice(QWidget *parent, const QString &name)
{
    auto *box = ui::named(new QComboBox(parent), name);
    box->addItem(AnyOne);
    return box;
}

void refill(QComboBox *box, const QStringList &items)
{
    const QString was = box->currentText();
    box->clear();
    box->addItem(AnyOne);
    box->addItems(items);
    box->setCurrentText(was);
}

} // namespace

ChangeLogWindow::ChangeLogWindow(ui::Services &services, QWidget *parent)
    : ui::PlacedWindow(parent), m_s(services), m_view(services)
{
    setObjectName(ui::win::ChangeLog);
    setWindowTitle(QStringLiteral("Change Log"));
    m_from = ui::named(new QDateEdit(m_view.filter().from, this), QStringLiteral("txtFrom"));
    m_to = ui::named(new QDateEdit(m_view.filter().to, this), QStringLiteral("txtTo"));
    for (QDateEdit *d : {m_from, m_to}) {
        d->setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
        d->setCalendarPopup(true);
    }
    m_station = choice(this, QStringLiteral("cboStation"));
    m_user = choice(this, QStringLiteral("cboUser"));
    m_record = ui::named(new QLineEdit(this), QStringLiteral("txtRecord"));
    m_record->setPlaceholderText(QStringLiteral("e.g. invoice 42, patient 7, page 2026-12-08, setup"));
    auto *show = ui::named(new QPushButton(QStringLiteral("&Show"), this), QStringLiteral("cmdShow"));
    show->setDefault(true);

    auto *filters = new QHBoxLayout;
    const auto labelled = [this, filters](const QString &text, QWidget *w, int stretch = 0) {
        auto *l = new QLabel(text, this);
        l->setBuddy(w);
        filters->addWidget(l);
        filters->addWidget(w, stretch);
    };
    labelled(QStringLiteral("&From"), m_from);
    labelled(QStringLiteral("&To"), m_to);
    labelled(QStringLiteral("St&ation"), m_station);
    labelled(QStringLiteral("&User"), m_user);
    labelled(QStringLiteral("&Record"), m_record, 1);
    filters->addWidget(show);

    m_list = ui::named(new QTreeWidget(this), QStringLiteral("lstChanges"));
    m_list->setRootIsDecorated(false);
    m_list->setAlternatingRowColors(true);
    m_list->setHeaderLabels({QStringLiteral("When"), QStringLiteral("Station"), QStringLiteral("User"),
                             QStringLiteral("Command"), QStringLiteral("Record"), QStringLiteral("Changes")});

    addChangeLogCommands(m_commands, m_s.windows);
    m_commands.setRun(QStringLiteral("cmdPrint"), [this] { this->print(); });
    m_commands.setRun(QStringLiteral("cmdPdf"), [this] { savePdf(); });
    auto *table = new ui::CommandTable(m_commands, this);
    auto *print = table->button(QStringLiteral("cmdPrint"), this);
    auto *pdf = table->button(QStringLiteral("cmdPdf"), this);
    auto *close = table->button(QStringLiteral("cmdClose"), this);
    ui::listColumn(this, m_list, {print, pdf, close})->insertLayout(0, filters);

    connect(show, &QPushButton::clicked, this, [this] { apply(); });
    connect(m_record, &QLineEdit::returnPressed, this, [this] { apply(); });
    table->bindKeys(this);
    apply();
}

QRect ChangeLogWindow::frame() const
{
    const QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen();
    const QSize avail = s ? s->availableGeometry().size() : QSize(1024, 768);
    return ui::centredFrame(this, QSize(std::min(1100, avail.width()), std::min(640, avail.height())));
}

void ChangeLogWindow::apply()
{
    store::LogFilter &f = m_view.filter();
    f.from = m_from->date();
    f.to = m_to->date();
    f.station = m_station->currentIndex() > 0 ? m_station->currentText() : QString();
    f.user = m_user->currentIndex() > 0 ? m_user->currentText() : QString();
    m_view.setRecord(m_record->text());
    if (m_view.refresh())
        showRows();
}

void ChangeLogWindow::showRows()
{
    refill(m_station, m_view.stations());
    refill(m_user, m_view.users());
    m_list->clear();
    for (const ChangeLogView::Row &r : m_view.rows()) {
        auto *item = new QTreeWidgetItem({r.when, r.station, r.user, r.command, r.record, r.changes});
        item->setToolTip(5, r.changes);
        m_list->addTopLevelItem(item);
    }
    for (int c = 0; c < 5; ++c)
        m_list->resizeColumnToContents(c);
}

void ChangeLogWindow::print()
{
    report::DefaultSheetPrinter printer;
    const QString failure = m_view.print(printer);
    if (!failure.isEmpty())
        m_s.prompter.message(failure, QStringLiteral("Print"), ui::Icon::Warning);
}

void ChangeLogWindow::savePdf()
{
    const QString path = report::choosePdfFile(
        m_s.prompter, QStringLiteral("Save as PDF"), m_s.state.places.dataFile(QStringLiteral("Change Log.pdf")));
    if (path.isEmpty())
        return;
    report::PdfSheetPrinter printer(path);
    const QString failure = m_view.print(printer);
    if (!failure.isEmpty())
        m_s.prompter.message(failure, QStringLiteral("Save as PDF"), ui::Icon::Warning);
}

} // namespace app
