#pragma once

#include <QWidget>

class QLabel;

namespace app {

// While a long build of the search index runs at start (before any window
// shows), the busy pointer and a small window with the line of pages done.
// Shown at the first report, gone when the build ends or this goes.
class IndexProgress : public QWidget {
public:
    IndexProgress();
    ~IndexProgress() override;

    void report(int done, int total);
    QString text() const;

private:
    QLabel *m_line;
    bool m_busy = false;
};

} // namespace app
