#pragma once

#include "ui/core/prompter.h"

namespace report {

// The file a PDF is saved in, chosen by the user through the prompter; an
// empty text when the user cancelled.
inline QString choosePdfFile(ui::Prompter &prompter, const QString &title, const QString &suggested)
{
    return prompter.chooseSaveFile(title, suggested, QStringLiteral("PDF files (*.pdf)")).value_or(QString());
}

} // namespace report
