#include "report/widgets/pdffilechooser.h"

#include <QFileDialog>

namespace report {

namespace {

class DialogChooser : public PdfFileChooser {
public:
    QString choose(QWidget *parent, const QString &title, const QString &suggested) override
    {
        return QFileDialog::getSaveFileName(parent, title, suggested, QStringLiteral("PDF files (*.pdf)"));
    }
};

PdfFileChooser *&chosen()
{
    static PdfFileChooser *c = nullptr;
    return c;
}

} // namespace

PdfFileChooser &PdfFileChooser::current()
{
    static DialogChooser dialog;
    return chosen() ? *chosen() : dialog;
}

void PdfFileChooser::setCurrent(PdfFileChooser *chooser)
{
    chosen() = chooser;
}

} // namespace report
