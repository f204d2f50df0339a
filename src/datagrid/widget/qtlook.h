// Colours and fonts of the data side as Qt sees them.
#pragma once

#include <QColor>
#include <QFont>

#include "datagrid/gridtypes.h"

namespace sp {

inline QColor QColorOf(TColor color) {
  return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                static_cast<int>((color >> 16) & 0xFF));
}

QFont QFontOf(const TFontSpec& fontSpec);

Qt::Alignment QtAlignmentOf(TAlignment alignment);

}  // namespace sp
