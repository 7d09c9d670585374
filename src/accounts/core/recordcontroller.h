#pragma once

#include "accounts/core/livewatch.h"
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

// What the client file and invoice windows share without their widgets:
// one record of a bound source in the form's boxes, the stations' changes
// watched, and the commands that act alike in both.
class RecordController : public QObject {
    Q_OBJECT
public:
    ~RecordController() override;

    ui::FormModel &form() { return m_model; }
    bool pageLock() const { return m_model.locked(); }
    // Boxes another station changed since the record was shown (box -> text stored now).
    const QHash<QString, QString> &changedElsewhere() const { return m_record.changedElsewhere(); }
    LiveWatch &live() { return m_live; }

    // Form_Load: binds the record source. False after the message when the
    // records cannot be read.
    virtual bool load() = 0;
    // The window came to the front: the record the program-wide values name.
    virtual void arrive() = 0;

    bool exit();                        // F12, File > Exit, the close box
    void open();                        // File > Open: back to the search menu
    void viewFiles();                   // F6: the file list
    void togglePageLock();
    void help();

signals:
    void recordShown();
    void textChanged(const QString &box);
    void focusRequested(const QString &box);
    void lockChanged();
    void boxesMarked();                 // boxes newly marked (recordShown: marks forgotten)

protected:
    // `window`: the window this controller is for; `shows`: whether a change
    // another station made is to the record on show.
    RecordController(ui::Services &services, ui::FormModel model, const QString &window, LiveWatch::Shows shows,
                     QObject *parent);

    // The key of the record on show; 0 for none.
    int shownKey() const;
    // Leaving the record on show for another window (false: the user stays),
    // and settling it before this window goes.
    virtual bool leaveRecord() = 0;
    virtual bool settleRecord() = 0;
    void toMenu();
    // Another station stored the record on show: what the window works out
    // from it, again; whether that changed more than the boxes marked.
    virtual bool othersStored() { return false; }
    // A database failure said under `title`: a restore since the record was
    // read in words of its own, any other by its number and description.
    void error(const store::DbError &e, const QString &title);

    ui::Services &m_services;
    ui::FormModel m_model;
    ui::RecordForm m_record;
    LiveWatch m_live;
    // What stands between an error's number and its description.
    QString m_numberGap = QStringLiteral(" ");

private:
    void othersChanged();

    QString m_window;
};

} // namespace accounts
