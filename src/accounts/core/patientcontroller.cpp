#include "accounts/core/patientcontroller.h"

#include "accounts/core/patientfields.h"
#include "accounts/core/patientforms.h"
#include "accounts/core/patientstore.h"
#include "store/core/dberror.h"
#include "store/core/recordsource.h"
#include "store/core/schema.h"
#include "ui/core/appstate.h"
#include "ui/core/prompter.h"
#include "ui/core/services.h"
#include "ui/core/windows.h"

namespace accounts {

namespace {

namespace b = patient::box;

const QString SaveQuestion = QStringLiteral("Do you want to save new file?");
const QString SaveTitle = QStringLiteral("Save File?");
const QString DeleteQuestion = QStringLiteral("Are you sure you want to delete this file?");
const QString DeleteTitle = QStringLiteral("Delete File");
const QString About = QStringLiteral(
    "Version 3.8.0   Please visit our Homepage on the Web for latest software upgrades and bug fixes.");
const QString Unknown = QStringLiteral("???");

bool unnamed(const QString &lastName) { return lastName.isEmpty() || lastName == Unknown; }

} // namespace

PatientController::PatientController(ui::Services &services, QObject *parent)
    : QObject(parent), m_services(services), m_model(patientForm()), m_record(services.db, m_model)
{
}

PatientController::~PatientController()
{
    // However the window goes, a new file never typed into goes with it.
    if (m_record.isNew() && m_model.isBlank()) {
        try {
            removeFile();
        } catch (const store::DbError &) {
            // Nobody is left to tell; the blank file stays.
        }
    }
}

bool PatientController::load()
{
    try {
        m_record.bind(store::tables::PatientDetails);
    } catch (const store::DbError &) {
        m_services.prompter.message(FileNotFound, QString());
        return false;
    }
    // CurrentFileNo stays: it names the file the window is loaded for.
    emit recordShown();
    return true;
}

int PatientController::fileNo() const
{
    return m_record.hasCurrent() ? m_record.key().toInt() : 0;
}

void PatientController::shown()
{
    if (m_record.hasCurrent())
        m_services.state.currentFileNo = fileNo();
    emit recordShown();
}

void PatientController::setBox(const QString &box, const QString &text)
{
    m_model.assign(box, text);
    emit textChanged(box);
}

void PatientController::error(const store::DbError &e, const QString &title)
{
    m_services.prompter.message(QString::number(e.number()) + e.description(), title);
}

void PatientController::conflict(const QStringList &boxes)
{
    QStringList mine;
    for (const Labelled &l : patientLabels())
        if (boxes.contains(l.box))
            mine << l.label + QLatin1Char(' ') + m_model.text(l.box);
    m_services.prompter.message(
        QStringLiteral("Another station changed this file while you were editing it, so your changes "
                       "were not saved. The file is shown as it is stored now.\n\nYour entries:\n") +
            mine.join(QLatin1Char('\n')),
        QStringLiteral("Filesave"), ui::Icon::Warning);
}

void PatientController::arrive()
{
    const int wanted = m_services.state.currentFileNo;
    const bool pendingNew = m_services.state.newFilePending;
    if (wanted > 0 && wanted != fileNo()) {
        if (!leaveFile()) {
            m_services.state.currentFileNo = fileNo();
            return;
        }
        try {
            if (!m_record.moveTo(wanted))
                m_services.prompter.message(FileNotFound, QString());
            m_record.show();
        } catch (const store::DbError &) {
            m_services.prompter.message(FileNotFound, QString());
        }
        m_record.setNew(pendingNew && fileNo() == wanted);
    } else if (pendingNew && fileNo() == wanted) {
        m_record.setNew(true);
    }
    shown();
    focus(b::Title);
}

void PatientController::removeFile()
{
    if (m_record.hasCurrent()) {
        if (fileNo() > patient::LastProtectedFile)
            m_record.remove();
    }
    m_record.setNew(false);
    m_services.state.newFilePending = false;
}

bool PatientController::writeBoxes(const QString &title)
{
    ui::RecordForm::SaveResult r;
    try {
        r = m_record.save();
    } catch (const store::DbError &e) {
        error(e, title);
        return false;
    }
    switch (r.outcome) {
    case ui::RecordForm::SaveResult::Conflict:
        conflict(r.controls);
        m_record.show();
        shown();
        return false;
    case ui::RecordForm::SaveResult::Gone:
        m_services.prompter.message(FileNotFound, QString());
        return false;
    default:
        m_services.state.newFilePending = false;
        emit recordShown();
        return true;
    }
}

bool PatientController::leaveFile()
{
    if (!m_record.hasCurrent())
        return true;
    if (m_record.isNew() && m_model.isBlank()) {
        try {
            removeFile();
        } catch (const store::DbError &e) {
            error(e, DeleteTitle);
            return false;
        }
        return true;
    }
    return writeBoxes(QStringLiteral("Filesave"));
}

bool PatientController::save()
{
    if (m_model.text(b::LastName).isEmpty()) {
        focus(b::LastName);
        return false;
    }
    if (m_model.text(b::SSN).isEmpty())
        setBox(b::SSN, QStringLiteral(" "));
    return writeBoxes(QStringLiteral("Filesave"));
}

PatientController::Left PatientController::discardQuestion()
{
    const bool yes = m_services.prompter.ask(DeleteQuestion, DeleteTitle, ui::Icon::Critical, true);
    try {
        if (yes) {
            if (fileNo() <= patient::LastProtectedFile && m_record.hasCurrent())
                m_services.prompter.message(
                    QStringLiteral("File %1 is one of the protected sample files 1 to 3 and was kept.")
                        .arg(fileNo()),
                    DeleteTitle, ui::Icon::Information);
            removeFile();
            return Left::Done;
        }
        if (m_model.text(b::LastName).isEmpty()) {   // an unfinished blank
            removeFile();
            return Left::Done;
        }
    } catch (const store::DbError &e) {
        error(e, DeleteTitle);
    }
    return Left::Stayed;
}

// The save-or-discard question about the new file on show; false: the
// window stays on it (a save without a last name, or a kept file).
bool PatientController::settlePending()
{
    if (!m_record.isNew())
        return true;
    if (m_services.prompter.ask(SaveQuestion, SaveTitle, ui::Icon::Question))
        return save();
    return discardQuestion() == Left::Done;
}

void PatientController::toMenu()
{
    m_services.windows.show(ui::win::SearchMenu);
    m_services.windows.unload(ui::win::PatientDetails);
}

void PatientController::newFile()
{
    if (m_record.isNew()) {
        if (unnamed(m_model.text(b::LastName))) {
            focus(b::LastName);
            return;
        }
        if (!settlePending())
            return;
    } else if (!leaveFile()) {
        return;
    }
    try {
        m_record.addNew(PatientStore::blankFile());
    } catch (const store::DbError &e) {
        error(e, QStringLiteral("FileNew"));
        return;
    }
    m_services.state.newFilePending = true;
    shown();
    focus(b::Title);
}

void PatientController::cancel()
{
    try {
        if (m_record.isNew()) {
            removeFile();
            toMenu();
            return;
        }
        m_record.cancel();
    } catch (const store::DbError &e) {
        error(e, QStringLiteral("FileCancel"));
        return;
    }
    shown();
}

void PatientController::remove()
{
    if (discardQuestion() == Left::Done) {
        toMenu();
        return;
    }
}

bool PatientController::exit()
{
    if (m_record.isNew()) {
        if (m_services.prompter.ask(SaveQuestion, SaveTitle, ui::Icon::Question)) {
            if (!save())
                return false;
        } else if (discardQuestion() == Left::Stayed) {
            return false;
        }
    } else if (!leaveFile()) {
        return false;
    }
    toMenu();
    return true;
}

void PatientController::open()
{
    if (leaveFile())
        toMenu();
}

void PatientController::previous()
{
    if (!leaveFile())
        return;
    try {
        m_record.previous();
        m_record.show();
    } catch (const store::DbError &) {
        m_services.prompter.message(FileNotFound, QString());
    }
    shown();
}

void PatientController::next()
{
    if (!leaveFile())
        return;
    try {
        m_record.next();
        m_record.show();
    } catch (const store::DbError &) {
        m_services.prompter.message(FileNotFound, QString());
    }
    shown();
}

void PatientController::togglePageLock()
{
    m_model.setLocked(!m_model.locked());
    emit lockChanged();
}

void PatientController::invoice()
{
    if (unnamed(m_model.text(b::LastName))) {
        setBox(b::LastName, Unknown);
        focus(b::LastName);
        return;
    }
    if (m_record.isNew() ? !save() : !leaveFile())
        return;
    const int file = fileNo();
    m_services.state.currentFileNo = file;
    try {
        // The patient's first invoice is made here; the invoice window
        // opens on the patient's last one.
        store::RecordSource invoices(m_services.db);
        invoices.bind(store::tables::AccountsQuery);
        if (!invoices.findLast(QStringLiteral("FileNo = ") + QString::number(file))) {
            store::RecordSource table(m_services.db);
            table.bind(store::tables::Accounts);
            table.addNew();
            table.setValue(patient::field::FileNo, file);
            table.update();
            m_services.state.currentInvoiceNo = table.lastModified().toInt();
        }
    } catch (const store::DbError &e) {
        error(e, QStringLiteral("FormInvoice"));
        return;
    }
    m_services.windows.show(ui::win::Account);
    m_services.windows.unload(ui::win::PatientDetails);
}

void PatientController::viewFiles()
{
    m_services.windows.show(ui::win::Search);
}

void PatientController::accounts()
{
    m_services.state.currentFileNo = fileNo();
    m_services.windows.show(ui::win::Summary);
}

void PatientController::help()
{
    m_services.state.helpField = QStringLiteral("Help2");
    m_services.windows.show(ui::win::Help);
}

void PatientController::about()
{
    m_services.prompter.message(About, Caption);
}

} // namespace accounts
