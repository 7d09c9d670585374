#pragma once

#include <QString>

namespace ui {

// The desktop's programs: a document opened with the program the desktop
// associates with it (a text editor for .txt, a spreadsheet for .xls).
class Desktop {
public:
    virtual ~Desktop() = default;
    // False when no program could be started for it.
    virtual bool openDocument(const QString &path) = 0;
};

} // namespace ui
