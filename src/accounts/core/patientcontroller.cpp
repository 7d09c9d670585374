#include "accounts/core/patientcontroller.h"

#include "accounts/core/patientfields.h"
#include "accounts/core/patientforms.h"
#include "accounts/core/patientstore.h"
#include "accounts/core/invoicestore.h"
#include "accounts/core/recordhistory.h"
#include "accounts/core/savereport.h"
#include "store/core/dberror.h"
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
    : RecordController(services, patientForm(), ui::win::PatientDetails,
                       [this](const QString &kind, const QString &key) {
                           return kind == PatientStore::Kind && key == QString::number(fileNo());
                       },
                       parent),
      m_files(services.db)
{
    m_numberGap.clear();   // this window runs an error's number and words together
    // Paths that unload this window from elsewhere (the menu's Exit) settle
    // the file as its own Exit does.
    m_services.windows.setSettler(ui::win::PatientDetails, [this] { return settle(); });
}

PatientController::~PatientController()
{
    m_services.windows.clearSettler(ui::win::PatientDetails);
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
    m_live.start();
    return true;
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

// After the file is shown as stored: every box typed, in the window's
// order, those another station had changed marked with what it stored.
void PatientController::conflict(const std::vector<store::FieldWrite> &typed, const QStringList &contested)
{
    std::vector<TypedEntry> entries;
    for (const Labelled &l : patientLabels()) {
        const QString field = m_model.control(l.box)->field;
        for (const store::FieldWrite &w : typed)
            if (w.field.compare(field, Qt::CaseInsensitive) == 0)
                entries.push_back({l.label, w.value, contested.contains(w.field, Qt::CaseInsensitive),
                                   m_model.text(l.box)});
    }
    m_services.prompter.message(conflictMessage(QStringLiteral("file"), entries), QStringLiteral("Filesave"),
                                ui::Icon::Warning);
    // What was not saved stays typed, over what the other station stored.
    for (const Labelled &l : patientLabels()) {
        const QString field = m_model.control(l.box)->field;
        for (const store::FieldWrite &w : typed)
            if (w.field.compare(field, Qt::CaseInsensitive) == 0 && contested.contains(w.field, Qt::CaseInsensitive))
                m_model.assign(l.box, w.value);
    }
    emit recordShown();
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

// Deletes the file on show through the patient store: never one of the
// samples, nor one another station changed since this one read it.
PatientStore::Removal PatientController::removeFile()
{
    auto r = PatientStore::Removal::Gone;
    if (m_record.hasCurrent()) {
        r = m_files.remove(fileNo(), m_record.readValues()).outcome;
        if (r == PatientStore::Removal::Removed || r == PatientStore::Removal::Gone)
            m_record.dropCurrent();
    }
    m_record.setNew(false);
    m_services.state.newFilePending = false;
    return r;
}

// A delete refused because another station changed the file: said, and
// the file shown as that station stored it.
void PatientController::keptChanged()
{
    m_services.prompter.message(
        QStringLiteral("Another station changed file %1 after you opened it, so it was not deleted. "
                       "The file is shown as it is stored now.")
            .arg(fileNo()),
        DeleteTitle, ui::Icon::Warning);
    m_record.show();
    shown();
}

// The file was deleted (or the data replaced by a restore) while its boxes
// were being typed in: said once, with every entry by its label so that
// nothing typed is lost. The boxes keep what was typed, no file is on show,
// and leaving the window no longer tries to write it.
void PatientController::fileGone(const std::vector<store::FieldWrite> &typed)
{
    QString text = QStringLiteral("File %1 is no longer stored: it was deleted at another station, or the data "
                                  "was restored from a backup, while you were editing it. Your entries were not "
                                  "saved.\n\nYour entries:")
                       .arg(fileNo());
    // A box emptied has nothing to keep.
    for (const Labelled &l : patientLabels()) {
        const QString field = m_model.control(l.box)->field;
        for (const store::FieldWrite &w : typed)
            if (w.field.compare(field, Qt::CaseInsensitive) == 0 && !m_model.text(l.box).trimmed().isEmpty())
                text += QLatin1Char('\n') + l.label + QLatin1Char(' ') + m_model.text(l.box);
    }
    m_services.prompter.message(text, QStringLiteral("Filesave"), ui::Icon::Warning);
    m_record.dropCurrent();
    m_services.state.newFilePending = false;
    emit recordShown();
}

// Writes what was typed through the patient store: what another station
// changed meanwhile stays as it stored it, the rest is written.
PatientController::Written PatientController::writeBoxes(const QString &title)
{
    if (!m_record.hasCurrent()) {
        m_services.prompter.message(FileNotFound, QString());
        return Written::Refused;
    }
    const std::vector<store::FieldWrite> typed = m_record.changes();
    store::GuardedWrite r;
    try {
        if (!typed.empty()) {
            m_record.checkGeneration();
            r = m_files.write(fileNo(), typed);
            if (r.found)
                m_record.show();
        }
    } catch (const store::DbError &e) {
        error(e, title);
        if (e.number() == store::DbError::Restored && m_record.rereadKeepingTyped()) {
            emit recordShown();
        }
        return Written::Refused;
    }
    if (!typed.empty() && !r.found) {
        fileGone(typed);
        return Written::Gone;
    }
    if (!r.contested.isEmpty()) {
        shown();
        conflict(typed, r.contested);
        return Written::Refused;
    }
    m_record.setNew(false);
    m_services.state.newFilePending = false;
    emit recordShown();
    return Written::Done;
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
    return writeBoxes(QStringLiteral("Filesave")) != Written::Refused;
}

PatientController::Written PatientController::saveFile()
{
    if (m_model.text(b::LastName).isEmpty()) {
        focus(b::LastName);
        return Written::Refused;
    }
    if (m_model.text(b::SSN).isEmpty())
        setBox(b::SSN, QStringLiteral(" "));
    return writeBoxes(QStringLiteral("Filesave"));
}

bool PatientController::save()
{
    return saveFile() == Written::Done;
}

PatientController::Left PatientController::discardQuestion()
{
    const bool yes = m_services.prompter.ask(DeleteQuestion, DeleteTitle, ui::Icon::Critical, true);
    try {
        if (yes || m_model.text(b::LastName).isEmpty()) {   // No: only an unfinished blank goes
            const int file = fileNo();
            switch (removeFile()) {
            case PatientStore::Removal::Protected:
                m_services.prompter.message(
                    QStringLiteral("File %1 is one of the protected sample files 1 to 3 and was kept.").arg(file),
                    DeleteTitle, ui::Icon::Information);
                break;
            case PatientStore::Removal::Changed:
                keptChanged();
                return Left::Stayed;
            default:
                break;
            }
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
        const int file = m_files.addBlank();
        m_record.refresh();
        m_record.moveTo(file);
        m_record.show();
        m_record.setNew(true);
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

bool PatientController::settle()
{
    if (m_record.isNew()) {
        if (m_services.prompter.ask(SaveQuestion, SaveTitle, ui::Icon::Question))
            return saveFile() != Written::Refused;
        return discardQuestion() != Left::Stayed;
    }
    return leaveFile();
}

void PatientController::step(bool (ui::RecordForm::*move)())
{
    if (!leaveFile())
        return;
    try {
        (m_record.*move)();
        m_record.show();
    } catch (const store::DbError &) {
        m_services.prompter.message(FileNotFound, QString());
    }
    shown();
}

void PatientController::previous() { step(&ui::RecordForm::previous); }
void PatientController::next() { step(&ui::RecordForm::next); }

void PatientController::invoice()
{
    if (unnamed(m_model.text(b::LastName))) {
        setBox(b::LastName, Unknown);
        focus(b::LastName);
        return;
    }
    if (!m_record.hasCurrent()) {   // its file was deleted: no invoice without one
        m_services.prompter.message(FileNotFound, QString());
        return;
    }
    if (m_record.isNew() ? !save() : !leaveFile())
        return;
    if (!m_record.hasCurrent())      // deleted meanwhile, as leaving it said
        return;
    const int file = fileNo();
    m_services.state.currentFileNo = file;
    try {
        // The patient's first invoice is made here; the invoice window
        // opens on the patient's last one.
        InvoiceStore invoices(m_services.db);
        if (!invoices.lastOf(file))
            m_services.state.currentInvoiceNo = invoices.add(file).key.toInt();
    } catch (const store::DbError &e) {
        error(e, QStringLiteral("FormInvoice"));
        return;
    }
    m_services.windows.replace(ui::win::PatientDetails, ui::win::Account);
}

void PatientController::history()
{
    showHistory(m_services, PatientStore::Kind, fileNo(), QStringLiteral("History of file %1").arg(fileNo()));
}

void PatientController::accounts()
{
    m_services.state.currentFileNo = fileNo();
    m_services.windows.show(ui::win::Summary);
}

void PatientController::about()
{
    m_services.prompter.message(About, Caption);
}

} // namespace accounts
