#include "ui/widgets/texteditorwindow.h"

#include "ui/core/appstate.h"
#include "ui/core/prompter.h"
#include "ui/core/windows.h"
#include "ui/widgets/windowregistry.h"

#include <QDir>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QVBoxLayout>

namespace ui {

TextEditorWindow::TextEditorWindow(Services &services, QWidget *parent)
    : QWidget(parent, Qt::Window), m_s(services)
{
    setObjectName(win::TextEditor);
    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("txtText"));
    m_text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_saveAs = new QPushButton(QStringLiteral("Save &As..."), this);
    m_saveAs->setObjectName(QStringLiteral("cmdSaveAs"));
    m_close = new QPushButton(QStringLiteral("&Close"), this);
    m_close->setObjectName(QStringLiteral("cmdClose"));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_saveAs);
    buttons->addWidget(m_close);
    auto *v = new QVBoxLayout(this);
    v->addWidget(m_text, 1);
    v->addLayout(buttons);

    connect(m_saveAs, &QPushButton::clicked, this, [this] { saveAs(); });
    connect(m_close, &QPushButton::clicked, this, [this] { m_s.windows.unload(win::TextEditor); });

    // Wide enough for a report line, never beyond the screen.
    QSize size(900, 600);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableSize() * 9 / 10);
    resize(size);
}

void TextEditorWindow::takeDelivery()
{
    const TextHandOver &in = m_s.state.textOut;
    if (in.serial == m_serial)
        return;
    if (m_text->document()->isModified() &&
        !m_s.prompter.ask(QStringLiteral("The text shown here has been changed and not saved. Replace it with "
                                         "the new text \"%1\"?")
                              .arg(in.title),
                          windowTitle(), Icon::Question, true))
        return;
    m_serial = in.serial;
    setWindowTitle(in.title);
    m_text->setPlainText(in.text);
    m_text->document()->setModified(false);
}

bool TextEditorWindow::saveTo(const QString &path)
{
    QSaveFile file(path);
    QString text = m_text->toPlainText();
    // Plain text files of the practice keep CR LF line ends.
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit()) {
        m_s.prompter.message(QStringLiteral("The text could not be saved in %1: %2")
                                 .arg(QDir::toNativeSeparators(path), file.errorString()),
                             QStringLiteral("Save As"), Icon::Critical);
        return false;
    }
    m_text->document()->setModified(false);
    return true;
}

QString TextEditorWindow::text() const
{
    return m_text->toPlainText();
}

void TextEditorWindow::saveAs()
{
    const QString suggested = QDir(m_s.state.appDir).filePath(windowTitle() + QStringLiteral(".txt"));
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save As"), suggested,
                                                      QStringLiteral("Text files (*.txt);;All files (*)"));
    if (!path.isEmpty())
        saveTo(path);
}

void registerTextWindow(WindowRegistry &registry)
{
    registry.add(win::TextEditor, [&registry](Services &s) {
        auto *w = new TextEditorWindow(s);
        QObject::connect(&registry, &WindowRegistry::windowShown, w, [w](const QString &name) {
            if (name == win::TextEditor)
                w->takeDelivery();
        });
        return w;
    });
}

} // namespace ui
