#include "datagrid/widget/qtlook.h"

#include "support/ui/qtext.h"

namespace sp {

QFont QFontOf(const TFontSpec& fontSpec) {
  QFont font(ToQString(fontSpec.Name));
  font.setPointSize(fontSpec.Size > 0 ? fontSpec.Size : 8);
  font.setBold(fontSpec.Bold);
  font.setItalic(fontSpec.Italic);
  font.setUnderline(fontSpec.Underline);
  return font;
}

Qt::Alignment QtAlignmentOf(TAlignment alignment) {
  switch (alignment) {
    case taRightJustify: return Qt::AlignRight | Qt::AlignVCenter;
    case taCenter: return Qt::AlignHCenter | Qt::AlignVCenter;
    default: return Qt::AlignLeft | Qt::AlignVCenter;
  }
}

}  // namespace sp
