#pragma once

#include "ui/core/prompter.h"

#include <QInputDialog>
#include <QMessageBox>
#include <memory>

class QWidget;

namespace ui {

// Message boxes and input boxes on screen.
class QtPrompter : public Prompter {
public:
    void message(const QString &text, const QString &title, Icon icon) override;
    bool ask(const QString &text, const QString &title, Icon icon, bool defaultNo) override;
    bool askWithDetails(const QString &text, const QString &title, const QString &details, Icon icon,
                        bool defaultNo) override;
    std::optional<QString> input(const QString &prompt, const QString &title,
                                 const QString &defaultText) override;
    std::optional<QString> chooseFolder(const QString &title, const QString &start) override;
    std::optional<QString> chooseSaveFile(const QString &title, const QString &suggested,
                                          const QString &filter) override;

    // The boxes as they are run, ready to be shown.
    static std::unique_ptr<QMessageBox> messageBox(const QString &text, const QString &title,
                                                   Icon icon, QMessageBox::StandardButtons buttons,
                                                   QWidget *parent = nullptr);
    static std::unique_ptr<QInputDialog> inputBox(const QString &prompt, const QString &title,
                                                  const QString &defaultText,
                                                  QWidget *parent = nullptr);
};

} // namespace ui
