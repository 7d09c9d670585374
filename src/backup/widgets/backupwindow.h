#pragma once

#include "backup/core/backupcontroller.h"
#include "ui/core/prompter.h"
#include "ui/core/commandset.h"
#include "ui/widgets/placedwindow.h"

#include <QWidget>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;

namespace backup {

// frmBackup: the two boxes, the status labels and BackUp / Restore / Exit.
// Thin: the BackupController runs both copies; the window shows its labels
// and the busy pointer while they run.
class BackupWindow : public ui::PlacedWindow {
    Q_OBJECT
public:
    // The window's own width (the height follows the screen).
    static constexpr int DesignWidth = 800;

    // `copier` makes the database copies (the engine's own by default).
    explicit BackupWindow(ui::Services &services, BackupController::CopierFactory copier = {},
                          QWidget *parent = nullptr);
    ~BackupWindow() override;

    BackupController &controller() { return m_ctl; }
    // Tests answer the folder chooser themselves.

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void buildForm();
    QLabel *makeLabel(const char *name, const QString &text);
    void showStatus();
    void setBusy(bool on);
    void chooseFolder(QLineEdit *box);
    void runBackup();
    QRect frame() const override;

    ui::Prompter &m_prompter;
    BackupController m_ctl;
    ui::CommandSet m_commands;
    QLineEdit *m_txtBackup = nullptr;
    QLineEdit *m_txtRestore = nullptr;
    QPushButton *m_cmdBackup = nullptr;
    QPushButton *m_cmdRestore = nullptr;
    QPushButton *m_cmdExit = nullptr;
    QPushButton *m_browseBackup = nullptr;
    QPushButton *m_browseRestore = nullptr;
    QLabel *m_lblBacking = nullptr;
    QLabel *m_lblBackup = nullptr;
    QLabel *m_lblBackupComplete = nullptr;
    QLabel *m_lblRestoring = nullptr;
    QLabel *m_lblRestoreComplete = nullptr;
    bool m_busy = false;
    bool m_ending = false;
};

} // namespace backup
