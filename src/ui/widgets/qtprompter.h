#pragma once

#include "ui/core/prompter.h"

class QWidget;

namespace ui {

// Message boxes and input boxes on screen.
class QtPrompter : public Prompter {
public:
    void message(const QString &text, const QString &title, Icon icon) override;
    bool ask(const QString &text, const QString &title, Icon icon, bool defaultNo) override;
    std::optional<QString> input(const QString &prompt, const QString &title,
                                 const QString &defaultText) override;
};

} // namespace ui
