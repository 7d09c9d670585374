#pragma once

#include "ui/core/desktop.h"

namespace ui {

// The system clipboard, through the running application.
class QtClipboard : public Clipboard {
public:
    QString text() const override;
    void setText(const QString &text) override;
    void clear() override;
};

} // namespace ui
