#include "accounts/core/searchmenucontroller.h"

#include "accounts/core/patientfields.h"
#include "accounts/core/patientforms.h"
#include "accounts/core/patientstore.h"
#include "store/core/dberror.h"
#include "ui/core/appstate.h"
#include "ui/core/prompter.h"
#include "ui/core/services.h"
#include "ui/core/windows.h"

#include <limits>

namespace accounts {

namespace {

// A file number as typed: a whole number the database can hold, or none.
std::optional<int> fileNumber(const QString &typed)
{
    bool ok = false;
    const qlonglong n = typed.trimmed().toLongLong(&ok);
    if (!ok || n < 1 || n > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(n);
}

} // namespace

bool startNewFile(ui::Services &services)
{
    services.state.newFilePending = true;
    try {
        services.state.currentFileNo = PatientStore(services.db).addBlank();
        services.windows.show(ui::win::PatientDetails);
    } catch (const store::DbError &e) {
        services.state.newFilePending = false;
        services.prompter.message(QString::number(e.number()) + QLatin1Char(' ') + e.description(),
                                  QStringLiteral("Save GridData"));
        return false;
    }
    return true;
}

SearchMenuController::SearchMenuController(ui::Services &services, QObject *parent)
    : QObject(parent), m_services(services), m_model(searchMenuForm())
{
}

QString SearchMenuController::setText(const QString &box, const QString &text)
{
    const QString kept = m_model.setText(box, text);
    if (box == search::LastName)
        m_services.state.searchLastName = kept;
    return kept;
}

void SearchMenuController::setEnabled(bool on)
{
    m_enabled = on;
    emit criteriaChanged();
}

void SearchMenuController::activated()
{
    m_services.state.newFilePending = false;
    cancel();
}

void SearchMenuController::newClientFocused()
{
    setEnabled(false);
}

void SearchMenuController::existingClientFocused()
{
    setEnabled(true);
}

void SearchMenuController::existingClientPressed(bool mouse)
{
    m_prompt = true;
    setEnabled(true);
    if (mouse)
        emit focusRequested(search::FileNo);
}

void SearchMenuController::cancel()
{
    m_model.clear();
    m_services.state.searchLastName.clear();
    m_prompt = false;
    setEnabled(false);
    emit focusRequested(search::NewClient);
}

void SearchMenuController::newClient()
{
    startNewFile(m_services);
}

void SearchMenuController::openFile(int fileNo)
{
    m_found = fileNo;
    m_services.state.currentFileNo = fileNo;
    m_services.windows.show(ui::win::PatientDetails);
}

void SearchMenuController::seek(const QString &index, const QVariantList &keys)
{
    std::optional<int> file;
    try {
        file = PatientStore(m_services.db).seek(index, keys);
    } catch (const store::DbError &e) {
        m_services.prompter.message(QString::number(e.number()) + QLatin1Char(' ') + e.description(),
                                    QStringLiteral("Search Error"));
        return;
    }
    if (file)
        openFile(*file);
    else
        m_services.windows.show(ui::win::Search);
}

void SearchMenuController::search()
{
    using namespace search;
    m_services.state.newFilePending = false;
    const auto t = [this](const QString &box) { return m_model.text(box); };
    if (!t(FileNo).isEmpty()) {
        const auto n = fileNumber(t(FileNo));
        if (!n) {
            m_services.prompter.message(
                QStringLiteral("The file number must be a whole number from 1 to %1.")
                    .arg(std::numeric_limits<int>::max()),
                Caption, ui::Icon::Information);
            emit focusRequested(FileNo);
            return;
        }
        seek(patient::index::FileNo, {*n});
    } else if (!t(SSN).isEmpty()) {
        seek(patient::index::SSN, {t(SSN)});
    } else if (t(LastName).isEmpty()) {
        setEnabled(true);
        emit focusRequested(LastName);
    } else if (!t(FirstName).isEmpty() && !t(DOB).isEmpty()) {
        seek(patient::index::NameDOB, {t(FirstName), t(MI), t(LastName), t(DOB)});
    } else if (!t(FirstName).isEmpty() && !t(Address).isEmpty()) {
        seek(patient::index::NameAddress, {t(FirstName), t(MI), t(LastName), t(Address)});
    } else {
        m_services.windows.show(ui::win::Search);
    }
}

void SearchMenuController::viewFiles()
{
    m_services.windows.show(ui::win::Search);
}

void SearchMenuController::accounts()
{
    m_services.state.currentFileNo = 0;
    m_services.windows.show(ui::win::Summary);
}

void SearchMenuController::exit()
{
    m_services.windows.replace(ui::win::SearchMenu, ui::win::Menu);
}

} // namespace accounts
