#include "app/widgets/indexprogress.h"

#include "app/core/startup.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>

namespace app {

IndexProgress::IndexProgress() : QWidget(nullptr, Qt::Dialog | Qt::WindowTitleHint), m_line(new QLabel(this))
{
    setWindowTitle(Startup::title());
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 18);
    layout->addWidget(m_line);
    m_line->setText(Startup::indexProgressText(0, 0));
    setMinimumWidth(m_line->sizeHint().width() + 120);
}

IndexProgress::~IndexProgress()
{
    if (m_busy)
        QApplication::restoreOverrideCursor();
}

void IndexProgress::report(int done, int total)
{
    m_line->setText(Startup::indexProgressText(done, total));
    if (!m_busy) {
        m_busy = true;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        show();
    }
    if (done >= total) {
        hide();
        m_busy = false;
        QApplication::restoreOverrideCursor();
    }
    // The build holds the event loop: the line is drawn now.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

QString IndexProgress::text() const
{
    return m_line->text();
}

} // namespace app
