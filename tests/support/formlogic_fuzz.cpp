// Feeds arbitrary text to the symbol set reader (the symbols come from a
// user-editable settings file) and to the message text formatting.
#include <cstddef>
#include <cstdint>
#include <string>

#include "support/boxtext.h"
#include "support/symbolset.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> cells = sp::SymbolCells(text);
  size_t bytes = 0;
  for (const std::string& cell : cells) bytes += cell.size();
  if (bytes > text.size()) __builtin_trap();  // cells only ever hold bytes of the text
  const sp::TSymbolGridShape shape = sp::SymbolGridShape(text, cells.size());
  if (static_cast<size_t>(shape.Columns) * static_cast<size_t>(shape.Rows) < cells.size()) __builtin_trap();
  sp::FormatBoxText(text);
  return 0;
}
