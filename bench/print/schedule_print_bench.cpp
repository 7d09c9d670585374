// Import and drawing of a full daily schedule (40 rows by 20 consultants)
// on the preview picture and into a PDF file.
#include "report/widgets/printersurface.h"
#include "schedules/core/clstableprint.h"
#include "schedules/core/gridimport.h"
#include "ui/core/gridmodel.h"
#include "ui/widgets/picturesurface.h"

#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int Consultants = 20;
constexpr int TimeRows = 40;

// A page grid as the daily summary shows it: number and name rows, the free
// row, the time rows, two free rows; every third cell booked, some painted.
void fill(ui::GridModel &g)
{
    g.setRows(2 + 1 + TimeRows + 2);
    g.setCols(Consultants + 1);
    g.setFixedRows(2);
    g.setFixedCols(1);
    ui::CellFont bold;
    bold.bold = true;
    g.setFont(bold);
    g.setColWidth(0, 880);
    for (int c = 1; c <= Consultants; ++c) {
        g.setColWidth(c, 700);
        g.setTextMatrix(0, c, QString::number(c));
        g.setTextMatrix(1, c, QStringLiteral("Dr %1").arg(c));
    }
    for (int r = 3; r < 3 + TimeRows; ++r) {
        g.setTextMatrix(r, 0, QStringLiteral("%1:%2 AM").arg(8 + (r - 3) / 4, 2, 10, QLatin1Char('0')).arg((r - 3) % 4 * 15, 2, 10, QLatin1Char('0')));
        for (int c = 1; c <= Consultants; ++c) {
            g.setCellColor(r, c, (r + c) % 7 == 0 ? 0x80D0FF : 0xEEFFFF);
            if ((r + c) % 3 == 0)
                g.setTextMatrix(r, c, QStringLiteral("Patient %1").arg(r * c));
        }
    }
}

void prepare(schedules::clsTablePrint &t, ui::GridModel &g, double width)
{
    schedules::LoadTableFromGrid(t, g, width - 570);
    t.marginTop = t.marginLeft = t.marginBottom = 285;
    t.setColAlignment(-1, 1);
}

void BM_DailyToPreviewPicture(benchmark::State &state)
{
    ui::GridModel g;
    fill(g);
    schedules::clsTablePrint t;
    t.setNewPageHandler([](ui::OutputSurface &out, bool &top, bool &, int) {
        out.newPage();
        out.setCurrentY(out.pageTop() + 285);
        top = true;
    });
    for (auto _ : state) {
        ui::PictureSurface picture(16840, 11907, 96);
        prepare(t, g, picture.scaleWidth());
        picture.setCurrentY(285);
        benchmark::DoNotOptimize(t.drawTable(picture, 0, 1).ok);
        benchmark::DoNotOptimize(picture.image().constBits());
    }
}
BENCHMARK(BM_DailyToPreviewPicture)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_DailyToPdf(benchmark::State &state)
{
    ui::GridModel g;
    fill(g);
    QTemporaryDir dir;
    schedules::clsTablePrint t;
    t.setNewPageHandler([](ui::OutputSurface &out, bool &, bool &, int) { out.newPage(); });
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("daily.pdf")));
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(QPageLayout::Landscape);
        report::PrinterSurface pdf(printer);
        pdf.begin();
        prepare(t, g, pdf.scaleWidth());
        pdf.setCurrentY(800);
        benchmark::DoNotOptimize(t.drawTable(pdf, 0, 1).ok);
        pdf.finish();
    }
}
BENCHMARK(BM_DailyToPdf)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
