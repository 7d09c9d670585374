#pragma once

#include <QString>
#include <optional>

namespace ui {

enum class Icon { None, Information, Warning, Critical, Question };

// Every message box, Yes/No question and input box of the program goes
// through one of these, so that tests can script the user's answers.
class Prompter {
public:
    virtual ~Prompter() = default;

    // OK-only message.
    virtual void message(const QString &text, const QString &title, Icon icon = Icon::None) = 0;

    // Yes/No question; true for Yes. defaultNo puts the default on No.
    virtual bool ask(const QString &text, const QString &title, Icon icon = Icon::Question,
                     bool defaultNo = false) = 0;

    // Yes/No question whose box also carries a detailed text the user can
    // unfold (a list behind the question). A prompter without such boxes
    // asks the question alone.
    virtual bool askWithDetails(const QString &text, const QString &title, const QString &details,
                                Icon icon = Icon::Question, bool defaultNo = false)
    {
        (void)details;
        return ask(text, title, icon, defaultNo);
    }

    // Input box; nullopt for Cancel.
    virtual std::optional<QString> input(const QString &prompt, const QString &title,
                                         const QString &defaultText = QString()) = 0;

    // The desktop's folder chooser, opened at `start` (or the nearest folder
    // above it that exists); the folder chosen, nullopt for Cancel.
    virtual std::optional<QString> chooseFolder(const QString &title, const QString &start) = 0;
    // The desktop's save-file chooser, offering `suggested`, listing the
    // files `filter` names ("PDF files (*.pdf)"); nullopt for Cancel.
    virtual std::optional<QString> chooseSaveFile(const QString &title, const QString &suggested,
                                                  const QString &filter) = 0;
};

} // namespace ui
