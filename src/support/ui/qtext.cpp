#include "support/ui/qtext.h"

#include "support/text1252.h"

namespace sp {

QString ToQString(std::string_view ansi) {
  const std::u16string wide = AnsiToUtf16(ansi);
  return QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size()));
}

std::string FromQString(const QString& text) {
  return Utf16ToAnsi(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                         static_cast<size_t>(text.size())));
}

}  // namespace sp
