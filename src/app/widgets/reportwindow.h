#pragma once

#include "ui/core/services.h"
#include "ui/widgets/placedwindow.h"

#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace app {

// frmText: a text report (an exported column, an appointments history)
// when the desktop has no editor for its file. The text can be edited,
// saved elsewhere and printed; it is taken from AppState::report each time
// the window is shown.
class ReportWindow : public ui::PlacedWindow {
    Q_OBJECT
public:
    explicit ReportWindow(ui::Services &services, QWidget *parent = nullptr);

    void reload();
    QString text() const;
    QString note() const;


private:
    void saveAs();
    void print();
    QRect frame() const override;

    ui::Services &m_s;
    QLabel *m_note;
    QPlainTextEdit *m_text;
    QPushButton *m_save;
    QPushButton *m_print;
    QPushButton *m_close;
};

} // namespace app
