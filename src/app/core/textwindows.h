#pragma once

#include "ui/core/services.h"

#include <QString>

namespace app {

// The texts of the help and readme windows, read from the database each time
// a window is loaded so that it shows what is stored now.
class TextWindows {
public:
    explicit TextWindows(ui::Services &services) : m_s(services) {}

    // The help text: field Help of tbl_Order, or the field a window asked for
    // through AppState::helpField just before it showed the help window. The
    // choice holds for this one showing; afterwards the default comes back.
    QString helpText();
    // Field Readme of tbl_Setup.
    QString readmeText();

    // The field the help window showed last.
    QString helpField() const { return m_helpField; }

private:
    QString read(const QString &table, const QString &field, const QString &title);

    ui::Services &m_s;
    QString m_helpField;
};

} // namespace app
