#include "app/widgets/reportwindow.h"

#include "ui/core/appstate.h"
#include "ui/core/prompter.h"
#include "ui/core/windows.h"
#include "ui/widgets/windowregistry.h"
#include "ui/widgets/controls.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QShortcut>

namespace app {

ReportWindow::ReportWindow(ui::Services &services, QWidget *parent)
    : ui::PlacedWindow(parent), m_s(services)
{
    setObjectName(ui::win::TextReport);
    m_note = ui::named(new QLabel(this), QStringLiteral("lblNote"));
    m_note->setWordWrap(true);
    m_note->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_text = ui::named(new QPlainTextEdit(this), QStringLiteral("txtReport"));
    m_text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_save = ui::named(new QPushButton(QStringLiteral("Save &As..."), this), QStringLiteral("cmdSaveAs"));
    m_print = ui::named(new QPushButton(QStringLiteral("&Print"), this), QStringLiteral("cmdPrint"));
    m_close = ui::named(new QPushButton(QStringLiteral("&Close"), this), QStringLiteral("cmdClose"));
    connect(m_save, &QPushButton::clicked, this, [this] { saveAs(); });
    connect(m_print, &QPushButton::clicked, this, [this] { print(); });
    connect(m_close, &QPushButton::clicked, this, [this] { m_s.windows.unload(ui::win::TextReport); });
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] { m_s.windows.unload(ui::win::TextReport); });

    ui::listColumn(this, m_text, {m_save, m_print, m_close})->insertWidget(0, m_note);
    reload();
}

QRect ReportWindow::frame() const
{
    // Centred, two thirds of the screen across and three quarters down: room
    // for a report's lines without hiding the window it came from.
    const QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen();
    const QSize avail = s ? s->availableGeometry().size() : QSize(1024, 768);
    return ui::centredFrame(this, QSize(std::max(avail.width() * 2 / 3, std::min(760, avail.width())),
                                        std::max(avail.height() * 3 / 4, std::min(560, avail.height()))));
}

void ReportWindow::reload()
{
    const ui::TextReport &r = m_s.state.report;
    setWindowTitle(r.title);
    m_note->setText(r.note);
    m_note->setVisible(!r.note.isEmpty());
    QString shown = r.text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    m_text->setPlainText(shown);
    m_text->setFocus();
}

QString ReportWindow::text() const
{
    return m_text->toPlainText();
}

QString ReportWindow::note() const
{
    return m_note->text();
}

void ReportWindow::saveAs()
{
    const ui::TextReport &r = m_s.state.report;
    const QString start = r.path.isEmpty() ? QDir(m_s.state.places.data()).filePath(r.title + QStringLiteral(".txt")) : r.path;
    const auto chosen = m_s.prompter.chooseSaveFile(QStringLiteral("Save As"), start,
                                                     QStringLiteral("Text files (*.txt);;All files (*)"));
    if (!chosen)
        return;
    const QString path = *chosen;
    QString out = text();
    out.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    QSaveFile file(path);
    if (!(file.open(QIODevice::WriteOnly) && file.write(out.toUtf8()) >= 0 && file.commit()))
        m_s.prompter.message(QStringLiteral("%1 could not be written: %2").arg(QDir::toNativeSeparators(path), file.errorString()),
                             QStringLiteral("Save As"), ui::Icon::Critical);
}

void ReportWindow::print()
{
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        m_s.prompter.message(QStringLiteral("No printer is installed. Use Save As to keep the text."),
                             QStringLiteral("Print"), ui::Icon::Information);
        return;
    }
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        m_text->print(&printer);
}

} // namespace app
