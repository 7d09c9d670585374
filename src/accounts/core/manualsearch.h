#pragma once

#include "accounts/core/livewatch.h"
#include "accounts/core/patientlist.h"

#include <QObject>

namespace ui {
struct KeyStroke;
struct Services;
}

namespace accounts {

// The manual search window (frmSearch) without its widgets: the list of
// every file, positioned by the search menu's last-name initial, and the
// keys that move in it or open the row's file.
class ManualSearch : public QObject {
    Q_OBJECT
public:
    static inline const QString Caption = QStringLiteral("Manual Search");
    static inline const QString SourceCaption = QStringLiteral("Client Database");
    static constexpr int PageStep = 10;

    explicit ManualSearch(ui::Services &services, QObject *parent = nullptr);

    PatientList &list() { return m_list; }
    LiveWatch &live() { return m_live; }
    int currentRow() const { return m_row; }
    void setCurrentRow(int row);

    // Each coming to the front: the list read again and positioned.
    void activated();
    // A key in the grid; true when it was the window's (moved or opened).
    bool key(const ui::KeyStroke &k);
    void openCurrent();
    void addNewClient();
    void exit();

signals:
    void currentRowChanged(int row);

private:
    void othersChanged();

    ui::Services &m_services;
    PatientList m_list;
    LiveWatch m_live;
    int m_row = -1;
};

} // namespace accounts
