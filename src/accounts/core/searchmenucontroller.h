#pragma once

#include "ui/core/formmodel.h"

#include <QObject>
#include <QString>

namespace ui {
struct Services;
}

namespace accounts {

// The search menu (frmSearchMenu) without its widgets: a new client file,
// or an existing one found by file number, social security number, name
// and date of birth or name and address, else the manual search.
class SearchMenuController : public QObject {
    Q_OBJECT
public:
    static inline const QString Caption = QStringLiteral("Search Menu");
    static inline const QString Prompt = QStringLiteral(
        "Please enter Client's file number, or name and date of birth, or name and address, or "
        "social security number:");

    explicit SearchMenuController(ui::Services &services, QObject *parent = nullptr);

    ui::FormModel &form() { return m_model; }
    // The user's edit of a criteria box (in capitals); returns the text kept.
    QString setText(const QString &box, const QString &text);

    bool criteriaEnabled() const { return m_enabled; }
    bool promptShown() const { return m_prompt; }
    int found() const { return m_found; }   // the file of the last successful search

    // The window came to the front: no file is pending, and Cancel.
    void activated();
    void newClientFocused();
    void existingClientFocused();
    // A key or mouse press on Existing Client (a mouse press also focuses
    // the file number).
    void existingClientPressed(bool mouse);

    void newClient();
    void search();
    void viewFiles();
    void accounts();
    void cancel();
    void exit();

signals:
    void criteriaChanged();        // the boxes' texts, enabled state or the prompt
    void focusRequested(const QString &control);

private:
    void setEnabled(bool on);
    // Seeks a named index; shows the file found or the manual search.
    void seek(const QString &index, const QVariantList &keys);
    void openFile(int fileNo);

    ui::Services &m_services;
    ui::FormModel m_model;
    bool m_enabled = false;
    bool m_prompt = false;
    int m_found = 0;
};

// Adds a blank file and shows it in the client file window as the pending
// new file; the error message (title "Save GridData") when it cannot.
bool startNewFile(ui::Services &services);

} // namespace accounts
