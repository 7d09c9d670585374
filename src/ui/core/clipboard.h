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

// A clipboard of its own, for tests and for running without a display.
class MemoryClipboard : public Clipboard {
public:
    QString text() const override { return m_text; }
    void setText(const QString &text) override { m_text = text; }
    void clear() override { m_text.clear(); }

private:
    QString m_text;
};

} // namespace ui
