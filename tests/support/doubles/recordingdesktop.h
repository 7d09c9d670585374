#pragma once

#include "ui/core/desktop.h"

#include <QStringList>

namespace ui {

// Records the documents asked to be opened; opens them when told it can.
class RecordingDesktop : public Desktop {
public:
    bool opens = true;
    QStringList opened;
    bool openDocument(const QString &path) override
    {
        opened << path;
        return opens;
    }
};

} // namespace ui
