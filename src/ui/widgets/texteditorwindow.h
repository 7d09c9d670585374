#pragma once

#include "ui/core/services.h"

#include <QWidget>

class QPlainTextEdit;
class QPushButton;

namespace ui {

class WindowRegistry;

// frmText: the program's text window. It shows the text last delivered
// (ui::deliverText: the appointments history, exports) in a fixed-pitch
// font, editable, and saves it as a plain text file.
class TextEditorWindow : public QWidget {
    Q_OBJECT
public:
    explicit TextEditorWindow(Services &services, QWidget *parent = nullptr);

    // Takes up a text delivered since the last one shown. A text the user has
    // changed and not saved is only replaced when the user agrees.
    void takeDelivery();
    // Writes the text to a file; false (the user told why) when it could not.
    bool saveTo(const QString &path);
    QString text() const;

private:
    void saveAs();

    Services &m_s;
    QPlainTextEdit *m_text;
    QPushButton *m_saveAs;
    QPushButton *m_close;
    int m_serial = 0;
};

// Adds frmText to the registry; each showing takes up the new delivery.
void registerTextWindow(WindowRegistry &registry);

} // namespace ui
