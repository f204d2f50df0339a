#include "datagrid/widget/qtlook.h"

#include "support/ui/qtext.h"

namespace sp {

QFont QFontOf(const TFontSpec& spec) {
  QFont font(ToQString(spec.Name));
  font.setPointSize(spec.Size > 0 ? spec.Size : 8);
  font.setBold(spec.Bold);
  font.setItalic(spec.Italic);
  font.setUnderline(spec.Underline);
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
