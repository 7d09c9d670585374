#pragma once

#include "ui/core/keys.h"

#include <QKeyEvent>

namespace ui {

inline KeyStroke translateKey(const QKeyEvent *e)
{
    return translateKey(e->key(), e->modifiers(), e->text());
}

} // namespace ui
