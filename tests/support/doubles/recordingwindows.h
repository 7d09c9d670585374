#pragma once

#include "ui/core/windows.h"

#include <QSet>
#include <QStringList>

namespace ui {

// A registry without windows, for tests: it records what was asked of it.
class RecordingWindows : public Windows {
public:
    void show(const QString &name) override { m_log << "show " + name; m_loaded.insert(name); }
    void hide(const QString &name) override { m_log << "hide " + name; }
    void unload(const QString &name) override { m_log << "unload " + name; m_loaded.remove(name); }
    bool isLoaded(const QString &name) const override { return m_loaded.contains(name); }
    void quit() override { m_log << QStringLiteral("quit"); m_quit = true; }

    void setLoaded(const QString &name) { m_loaded.insert(name); }
    const QStringList &log() const { return m_log; }
    bool quitCalled() const { return m_quit; }
    void clearLog() { m_log.clear(); }

private:
    QSet<QString> m_loaded;
    QStringList m_log;
    bool m_quit = false;
};

} // namespace ui
