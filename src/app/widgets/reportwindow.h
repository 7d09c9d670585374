#pragma once

#include "ui/core/services.h"
#include "ui/widgets/frameplacer.h"

#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace app {

// frmText: a text report (an exported column, an appointments history)
// when the desktop has no editor for its file. The text can be edited,
// saved elsewhere and printed; it is taken from AppState::report each time
// the window is shown.
class ReportWindow : public QWidget {
    Q_OBJECT
public:
    explicit ReportWindow(ui::Services &services, QWidget *parent = nullptr);

    void reload();
    QString text() const;
    QString note() const;

    void setVisible(bool visible) override;

private:
    void saveAs();
    void print();
    QRect frame() const;

    ui::Services &m_s;
    QLabel *m_note;
    QPlainTextEdit *m_text;
    QPushButton *m_save;
    QPushButton *m_print;
    QPushButton *m_close;
    ui::FramePlacer *m_placer;
};

} // namespace app
