#include "ui/widgets/unavailablewindow.h"

#include "ui/core/appstate.h"
#include "ui/core/windows.h"
#include "ui/widgets/windowregistry.h"
#include "ui/widgets/controls.h"

#include <QCloseEvent>
#include <QHash>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace ui {

QString UnavailableWindow::titleFor(const QString &name)
{
    static const QHash<QString, QString> titles{
        {win::Appt, QStringLiteral("Appointments Scheduler")},
        {win::SearchMenu, QStringLiteral("Accounts")},
        {win::Setup, QStringLiteral("Setup Page")},
        {win::Configure, QStringLiteral("Modify Templates")},
        {win::LetterHead1, QStringLiteral("Design Letterhead")},
        {win::NoLetterHead, QStringLiteral("Preprinted Letterhead")},
        {win::Backup, QStringLiteral("Backup Files")},
        {win::PatientDetails, QStringLiteral("Patient Details")},
        {win::Account, QStringLiteral("Invoices and Receipts")},
        {win::Summary, QStringLiteral("Account Summary")},
        {win::Search, QStringLiteral("Manual Search")},
        {win::Help, QStringLiteral("Help File")},
        {win::Readme, QStringLiteral("Readme")},
        {win::DailySchedule, QStringLiteral("Daily Schedule")},
        {win::WeeklySchedule, QStringLiteral("Weekly Schedule")},
    };
    return titles.value(name, name);
}

UnavailableWindow::UnavailableWindow(Services &services, const QString &name, QWidget *parent)
    : QWidget(parent, Qt::Window), m_services(services), m_name(name)
{
    setObjectName(name);
    const QString title = titleFor(name);
    setWindowTitle(title);

    auto *heading = ui::named(new QLabel(title, this), QStringLiteral("lblTitle"));
    QFont f = heading->font();
    f.setPointSizeF(f.pointSizeF() * 1.4);
    f.setBold(true);
    heading->setFont(f);

    auto *text = ui::named(new QLabel(QStringLiteral("%1 is not available yet.").arg(title), this),
                           QStringLiteral("lblMessage"));
    text->setWordWrap(true);

    m_back = ui::named(new QPushButton(QStringLiteral("&Main Menu"), this), QStringLiteral("cmdBack"));
    m_back->setDefault(true);
    connect(m_back, &QPushButton::clicked, this, [this] {
        leave();
        m_services.windows.unload(m_name);
    });

    auto *box = new QVBoxLayout(this);
    box->setContentsMargins(28, 24, 28, 20);
    box->setSpacing(12);
    box->addWidget(heading);
    box->addWidget(text);
    box->addStretch(1);
    box->addWidget(m_back, 0, Qt::AlignRight);
    resize(420, 180);
}

void UnavailableWindow::leave()
{
    if (m_services.state.exitFlag)
        m_services.windows.quit();
    else
        m_services.windows.show(win::Menu);
}

void UnavailableWindow::closeEvent(QCloseEvent *event)
{
    if (!WindowRegistry::closingByProgram(this))
        leave();
    event->accept();
}

} // namespace ui
