#pragma once

// The settings record is read by the book too; its gateway lives with the
// other record access.
#include "store/core/settings.h"

namespace setup {
using store::Settings;
using store::SettingsStore;
} // namespace setup
