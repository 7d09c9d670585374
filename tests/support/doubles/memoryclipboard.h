#pragma once

#include "ui/core/desktop.h"

namespace ui {

// A clipboard of its own, so tests never touch the desktop's.
class MemoryClipboard : public Clipboard {
public:
    QString text() const override { return m_text; }
    void setText(const QString &text) override { m_text = text; }
    void clear() override { m_text.clear(); }

private:
    QString m_text;
};

} // namespace ui
