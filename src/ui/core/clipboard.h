#pragma once

#include <QString>

namespace ui {

// The system clipboard, in text form.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual QString text() const = 0;
    virtual void setText(const QString &text) = 0;
    virtual void clear() = 0;
};

} // namespace ui
