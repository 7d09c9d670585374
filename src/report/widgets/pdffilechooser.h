#pragma once

#include <QString>

class QWidget;

namespace report {

// The desktop's save-file dialog behind "Save as PDF"; tests put their own
// answer in its place.
class PdfFileChooser {
public:
    virtual ~PdfFileChooser() = default;
    // The file chosen, or an empty text when the user cancelled.
    virtual QString choose(QWidget *parent, const QString &title, const QString &suggested) = 0;

    // The chooser the previews use (the dialog unless a test set another).
    static PdfFileChooser &current();
    static void setCurrent(PdfFileChooser *chooser);   // nullptr: the dialog again
};

} // namespace report
