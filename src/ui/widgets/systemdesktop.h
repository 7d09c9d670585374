#pragma once

#include "ui/core/desktop.h"

namespace ui {

// The desktop's associations, through the running application.
class SystemDesktop : public Desktop {
public:
    bool openDocument(const QString &path) override;
};

} // namespace ui
