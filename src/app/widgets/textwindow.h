#pragma once

#include "app/core/textwindows.h"
#include "ui/core/services.h"

#include <QWidget>

class QPlainTextEdit;
class QPushButton;

namespace app {

// frmHelp: the help text, read-only, with one button "Exit".
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(ui::Services &services, QWidget *parent = nullptr);

    // Re-reads the help text (the field chosen by AppState::helpField); the
    // registry calls it every time the window is shown.
    void reload();
    QString text() const;
    QString field() const { return m_texts.helpField(); }

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    ui::Services &m_s;
    TextWindows m_texts;
    QPlainTextEdit *m_text;
    QPushButton *m_exit;
};

// frmReadme: the readme text, read when the window loads, and one button
// back to the main menu.
class ReadmeWindow : public QWidget {
    Q_OBJECT
public:
    explicit ReadmeWindow(ui::Services &services, QWidget *parent = nullptr);
    QString text() const;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    ui::Services &m_s;
    QPlainTextEdit *m_text;
    QPushButton *m_back;
};

} // namespace app
