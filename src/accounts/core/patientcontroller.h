#pragma once

#include "accounts/core/patientstore.h"
#include "accounts/core/recordcontroller.h"

namespace accounts {

// The client file window (frmPatientDetails) without its widgets: one
// patient file at a time in the bound boxes, and the window's commands.
// A new file is stored blank at once (it has its file number from then
// on); one that is left without being saved is removed again.
class PatientController : public RecordController {
    Q_OBJECT
public:
    static inline const QString Caption = QStringLiteral("Client Details");
    static inline const QString FileNotFound = QStringLiteral("            File not found! ");

    explicit PatientController(ui::Services &services, QObject *parent = nullptr);
    ~PatientController() override;

    // Form_Load: binds the record source. False after the message when the
    // files cannot be read.
    bool load() override;
    // The window was brought forward: it shows the file CurrentFileNo names
    // (leaving the one on show as every leaving does), and takes a new file
    // as pending when NewFilePending says it is one.
    void arrive() override;

    int fileNo() const { return shownKey(); }   // the file on show; 0 for none
    bool isPending() const { return m_record.isNew(); }

    // Commands.
    void newFile();
    bool save();
    void cancel();
    void remove();
    // What Exit does with the file on show before the window goes: false
    // when the user stays (or it could not be stored).
    bool settle();
    void previous();
    void next();
    void invoice();
    void history();                     // F11, View > History: the file's recorded changes
    void accounts();
    void about();

protected:
    bool leaveRecord() override { return leaveFile(); }
    bool settleRecord() override { return settle(); }

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
    void step(bool (ui::RecordForm::*move)());
    void shown();
    void setBox(const QString &box, const QString &text);
    void focus(const QString &box) { emit focusRequested(box); }
    void conflict(const std::vector<store::FieldWrite> &typed, const QStringList &contested);

    PatientStore m_files;
};

} // namespace accounts
