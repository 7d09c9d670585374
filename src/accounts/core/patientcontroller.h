#pragma once

#include "accounts/core/livewatch.h"
#include "accounts/core/patientstore.h"
#include "ui/core/formmodel.h"
#include "ui/core/recordform.h"

#include <QObject>
#include <QString>

namespace ui {
struct Services;
}
namespace store {
class DbError;
}

namespace accounts {

// The client file window (frmPatientDetails) without its widgets: one
// patient file at a time in the bound boxes, and the window's commands.
// A new file is stored blank at once (it has its file number from then
// on); one that is left without being saved is removed again.
class PatientController : public QObject {
    Q_OBJECT
public:
    static inline const QString Caption = QStringLiteral("Client Details");
    static inline const QString FileNotFound = QStringLiteral("            File not found! ");

    explicit PatientController(ui::Services &services, QObject *parent = nullptr);
    ~PatientController() override;

    // Form_Load: binds the record source. False after the message when the
    // files cannot be read.
    bool load();
    // The window was brought forward: it shows the file CurrentFileNo names
    // (leaving the one on show as every leaving does), and takes a new file
    // as pending when NewFilePending says it is one.
    void arrive();

    ui::FormModel &form() { return m_model; }
    int fileNo() const;                 // the file on show; 0 for none
    bool isPending() const { return m_record.isNew(); }
    bool pageLock() const { return m_model.locked(); }
    // Boxes another station changed since the file was shown (box -> text stored now).
    const QHash<QString, QString> &changedElsewhere() const { return m_record.changedElsewhere(); }
    LiveWatch &live() { return m_live; }

    // Commands.
    void newFile();
    bool save();
    void cancel();
    void remove();
    bool exit();                        // F12, File > Exit, the close box
    // What Exit does with the file on show before the window goes: false
    // when the user stays (or it could not be stored).
    bool settle();
    void open();                        // File > Open: back to the search menu
    void previous();
    void next();
    void togglePageLock();
    void invoice();
    void viewFiles();
    void history();                     // F11, View > History: the file's recorded changes
    void accounts();
    void help();
    void about();

signals:
    void recordShown();                 // every box and the file number
    void textChanged(const QString &box);
    void focusRequested(const QString &box);
    void lockChanged();
    void boxesMarked();                 // boxes newly marked (recordShown: marks forgotten)

private:
    enum class Left { Done, Stayed };
    enum class Written {
        Done,
        Refused,   // nothing or not all written: the window stays on the file
        Gone,      // the file is no longer stored: said once, the window may go
    };
    // Leaving the file on show for another or for another window: what was
    // typed is stored (a save refused by another station's edit keeps the
    // window where it is); a new file never typed into is removed.
    bool leaveFile();
    Written writeBoxes(const QString &title);
    Written saveFile();
    void fileGone(const std::vector<store::FieldWrite> &typed);
    bool settlePending();
    Left discardQuestion();
    PatientStore::Removal removeFile();
    void keptChanged();
    void othersChanged();
    void toMenu();
    void shown();
    void setBox(const QString &box, const QString &text);
    void focus(const QString &box) { emit focusRequested(box); }
    void error(const store::DbError &e, const QString &title);
    void conflict(const std::vector<store::FieldWrite> &typed, const QStringList &contested);

    ui::Services &m_services;
    ui::FormModel m_model;
    ui::RecordForm m_record;
    PatientStore m_files;
    LiveWatch m_live;
};

} // namespace accounts
