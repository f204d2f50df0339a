#include "support/boxtext.h"

#include <algorithm>
#include <vector>

#include "support/files.h"
#include "support/text1252.h"

namespace sp {

std::string FormatBoxText(std::string_view message) {
  const std::string breaks = ReplaceTextAll(ReplaceTextAll(message, "\r\n", "<BR>"), "<BR>", "\r\n");
  const std::vector<std::string> lines = TextToLines(breaks);
  std::string result;
  const size_t shown = std::min<size_t>(lines.size(), kBoxTextLines);
  for (size_t i = 0; i < shown; ++i) {
    if (i > 0) result += "<br>";
    result += lines[i];
  }
  if (lines.size() > shown) result += "<br>................<br>" + lines.back();
  return result;
}

std::string PossibleErrorHeader() { return Ansi("<B>Möglicher Fehler:</B><BR>"); }

}  // namespace sp
