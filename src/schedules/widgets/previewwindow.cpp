#include "schedules/widgets/previewwindow.h"

#include "report/widgets/pdffilechooser.h"
#include "report/widgets/printerbox.h"
#include "schedules/widgets/scheduleprinter.h"
#include "ui/core/prompter.h"
#include "ui/core/sheetprinter.h"
#include "ui/widgets/picturesurface.h"
#include "ui/widgets/taskwindow.h"
#include "ui/widgets/windowregistry.h"
#include "ui/widgets/controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace schedules {

PreviewWindow::PreviewWindow(SchedulePrint::Kind kind, ui::GridModel &grid, ui::Services &services,
                             const QString &consultant, double widthFactor, QWidget *parent)
    : QDialog(parent, Qt::Window), m_s(services), m_job(kind, grid, services, consultant, widthFactor)
{
    const bool daily = kind == SchedulePrint::Kind::Daily;
    setObjectName(daily ? QStringLiteral("frmPrintDaily") : QStringLiteral("frmPrintWeekly"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::ApplicationModal);
    setWindowTitle(m_job.caption());

    auto *bar = new QHBoxLayout;
    const auto label = [this, bar](const QString &name) {
        auto *l = ui::named(new QLabel(this), name);
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
        bar->addWidget(l);
        return l;
    };
    m_day = label(QStringLiteral("lblDay"));
    m_date = label(QStringLiteral("lblDate"));
    m_tech = label(QStringLiteral("lblTech"));
    bar->addStretch(1);

    const auto button = [this, bar](const QString &name, const QString &text, auto slot) {
        auto *b = ui::named(new QPushButton(text, this), name);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        bar->addWidget(b);
        return b;
    };
    if (daily)
        m_orientation = button(QStringLiteral("cmdOrientation"), QString(), [this] { toggleOrientation(); });
    m_fill = ui::named(new QCheckBox(QStringLiteral("Resize Col &widths to fill page"), this),
                       QStringLiteral("chkColWidth"));
    connect(m_fill, &QCheckBox::toggled, this, [this](bool on) { m_job.setFillPage(on); });
    bar->addWidget(m_fill);
    button(QStringLiteral("cmdRefresh"), QStringLiteral("&Refresh"), [this] { refresh(); });
    // The printer the sheets go to: the computer's default unless another is chosen.
    m_printer = report::printerBox(this, SchedulePrinter::printers(), SchedulePrinter::defaultPrinter());
    bar->addWidget(m_printer);
    button(QStringLiteral("cmdPrint"), QStringLiteral("Print"), [this] { print(); });
    button(QStringLiteral("cmdPdf"), QStringLiteral("Save as &PDF"), [this] { saveAsPdf(); });
    button(QStringLiteral("cmdClose"), QStringLiteral("&Close"), [this] { close(); });

    m_scroll = ui::named(new QScrollArea(this), QStringLiteral("picScroll"));
    m_scroll->horizontalScrollBar()->setObjectName(QStringLiteral("hscScroll"));
    m_scroll->verticalScrollBar()->setObjectName(QStringLiteral("vscScroll"));
    // One scroll-bar step is 120 twips.
    m_scroll->horizontalScrollBar()->setSingleStep(qRound(SchedulePrint::ScrollStep * logicalDpiX() / 1440.0));
    m_scroll->verticalScrollBar()->setSingleStep(qRound(SchedulePrint::ScrollStep * logicalDpiY() / 1440.0));
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_target = new QLabel;
    m_target->setObjectName(QStringLiteral("picTarget"));
    m_scroll->setWidget(m_target);

    auto *box = new QVBoxLayout(this);
    box->addLayout(bar);
    box->addWidget(m_scroll, 1);
}

void PreviewWindow::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    ui::placeTaskWindow(this);
    if (m_shown)
        return;
    m_shown = true;
    m_job.load();
    m_fill->setChecked(m_job.fillPage());
    refresh();
}

void PreviewWindow::refresh()
{
    const ui::BusyPointer busy;
    if (m_orientation)
        m_orientation->setText(m_job.orientationCaption());
    setWindowTitle(m_job.caption());
    const bool daily = m_job.kind() == SchedulePrint::Kind::Daily;
    m_day->setVisible(daily);
    m_date->setVisible(daily);
    m_tech->setVisible(!daily);
    m_day->setText(m_job.dayLabel());
    m_date->setText(m_job.dateLabel());
    m_tech->setText(m_job.techLabel());

    ui::PictureSurface surface(m_job.sheetWidth(), m_job.sheetHeight(), logicalDpiX(), ui::SheetPrinter::Unprintable);
    const DrawResult r = m_job.drawPreview(surface);
    const QImage image = surface.image();
    m_sheets = surface.sheets();
    m_target->setPixmap(QPixmap::fromImage(image));
    m_target->resize(image.size());
    m_job.reportFailure(r);
}

QImage PreviewWindow::picture() const
{
    return m_target->pixmap().toImage();
}

void PreviewWindow::toggleOrientation()
{
    m_job.toggleOrientation();
    refresh();
}

void PreviewWindow::tell(const SchedulePrinter::Outcome &outcome)
{
    m_s.prompter.message(outcome.text, outcome.title, outcome.icon);
}

void PreviewWindow::print()
{
    SchedulePrinter::Outcome outcome;
    {
        const ui::BusyPointer busy;
        outcome = SchedulePrinter::print(m_job, m_printer->currentText());
    }
    tell(outcome);
}

QString PreviewWindow::printer() const
{
    return m_printer->currentText();
}

void PreviewWindow::choosePrinter(const QString &name)
{
    m_printer->setCurrentIndex(m_printer->findText(name));
}

void PreviewWindow::saveAsPdf()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString path = report::choosePdfFile(m_s.prompter, QStringLiteral("Save as PDF"), QDir(folder).filePath(m_job.pdfFileName()));
    if (path.isEmpty())
        return;
    SchedulePrinter::Outcome outcome;
    {
        const ui::BusyPointer busy;
        outcome = SchedulePrinter::toPdf(m_job, path);
    }
    tell(outcome);
}

void PreviewWindow::storeOnce()
{
    if (m_stored)
        return;
    m_stored = true;
    m_job.close();
}

void PreviewWindow::closeEvent(QCloseEvent *e)
{
    storeOnce();
    QDialog::closeEvent(e);
}

void PreviewWindow::reject()
{
    // Escape closes the preview as its close box does.
    storeOnce();
    QDialog::reject();
    deleteLater();
}

} // namespace schedules
