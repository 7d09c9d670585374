#include "accounts/core/recordcontroller.h"

#include "store/core/dberror.h"
#include "ui/core/appstate.h"
#include "ui/core/prompter.h"
#include "ui/core/services.h"
#include "ui/core/windows.h"

namespace accounts {

RecordController::RecordController(ui::Services &services, ui::FormModel model, const QString &window,
                                   LiveWatch::Shows shows, QObject *parent)
    : QObject(parent), m_services(services), m_model(std::move(model)), m_record(services.db, m_model),
      m_live(services.db, std::move(shows)), m_window(window)
{
    connect(&m_live, &LiveWatch::due, this, &RecordController::othersChanged);
}

RecordController::~RecordController() = default;

int RecordController::shownKey() const
{
    return m_record.hasCurrent() ? m_record.key().toInt() : 0;
}

// Another station stored the record on show: the boxes not typed in show
// what it stored, those typed in keep their text and are marked.
void RecordController::othersChanged()
{
    QStringList marked;
    try {
        marked = m_record.rereadElsewhere();
    } catch (const store::DbError &) {
        return;   // shown as it was; the next change or save reads it again
    }
    const bool more = othersStored();
    for (const QString &box : marked)
        emit textChanged(box);
    if (more || !marked.isEmpty())
        emit boxesMarked();
}

void RecordController::toMenu()
{
    m_services.windows.replace(m_window, ui::win::SearchMenu);
}

bool RecordController::exit()
{
    if (!settleRecord())
        return false;
    toMenu();
    return true;
}

void RecordController::open()
{
    if (leaveRecord())
        toMenu();
}

void RecordController::viewFiles()
{
    m_services.windows.show(ui::win::Search);
}

void RecordController::togglePageLock()
{
    m_model.setLocked(!m_model.locked());
    emit lockChanged();
}

void RecordController::help()
{
    m_services.state.helpField = QStringLiteral("Help2");
    m_services.windows.show(ui::win::Help);
}

void RecordController::error(const store::DbError &e, const QString &title)
{
    if (e.number() == store::DbError::Restored) {
        m_services.prompter.message(ui::RecordForm::restoredNotice(e), title, ui::Icon::Warning);
        return;
    }
    m_services.prompter.message(QString::number(e.number()) + m_numberGap + e.description(), title);
}

} // namespace accounts
