#pragma once

#include "app/core/changelogview.h"
#include "ui/core/commandset.h"
#include "ui/core/services.h"
#include "ui/widgets/placedwindow.h"

#include <QWidget>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QTreeWidget;

namespace app {

// frmChangeLog: the practice's changes for a date range, narrowed by
// station, user and record; printed or saved as PDF.
class ChangeLogWindow : public ui::PlacedWindow {
    Q_OBJECT
public:
    explicit ChangeLogWindow(ui::Services &services, QWidget *parent = nullptr);
    ChangeLogView &view() { return m_view; }
    void showRows();

protected:
    QRect frame() const override;

private:
    void apply();
    void print();
    void savePdf();

    ui::Services &m_s;
    ChangeLogView m_view;
    ui::CommandSet m_commands;
    QDateEdit *m_from;
    QDateEdit *m_to;
    QComboBox *m_station;
    QComboBox *m_user;
    QLineEdit *m_record;
    QTreeWidget *m_list;
};

} // namespace app
