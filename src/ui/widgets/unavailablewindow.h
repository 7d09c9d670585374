#pragma once

#include "ui/core/services.h"

#include <QWidget>

class QPushButton;

namespace ui {

// Stands in for a window whose part of the program is not built yet, so that
// every menu choice leads somewhere and back. Its button, and its close box,
// return to the main menu; on the way out of the program (exit flag set) they
// end it instead, as the backup window would.
class UnavailableWindow : public QWidget {
    Q_OBJECT
public:
    UnavailableWindow(Services &services, const QString &name, QWidget *parent = nullptr);

    // A readable title for a window name ("Appointments" for frmAppt); the name
    // itself when none is known.
    static QString titleFor(const QString &name);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void leave();

    Services &m_services;
    QString m_name;
    QPushButton *m_back;
};

} // namespace ui
