#pragma once

#include "app/core/datafolder.h"
#include "ui/core/prompter.h"

#include <QDialog>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace app {

// Where the practice keeps its data: asked at a station's first start and
// from the main menu. The rules are DataFolderController's.
class DataFolderWindow : public QDialog {
    Q_OBJECT
public:
    DataFolderWindow(ui::Prompter &prompter, const QString &newFolder, QWidget *parent = nullptr);

    // The folder chosen and made ready; nullopt when cancelled.
    static std::optional<QString> ask(ui::Prompter &prompter, QWidget *parent = nullptr);
    std::optional<QString> chosen() const { return m_chosen; }

    DataFolderController &controller() { return m_controller; }

public slots:
    void accept() override;

private:
    void update();
    void browse();

    ui::Prompter &m_prompter;
    DataFolderController m_controller;
    QRadioButton *m_new;
    QRadioButton *m_shared;
    QRadioButton *m_server;
    QLineEdit *m_sharedFolder;
    QPushButton *m_browse;
    QLineEdit *m_serverSettings;
    QLabel *m_note;
    std::optional<QString> m_chosen;
};

} // namespace app
