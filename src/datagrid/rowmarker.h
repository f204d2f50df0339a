// Row markers: the text in column 0 of a row classifies the row and decorates
// its marker cell. Pure functions of the marker text.
#pragma once

#include <string>
#include <string_view>

#include "datagrid/gridtypes.h"

namespace sp {

enum class TRowKind {
  Data,       // empty, "d" or "*"
  Text,       // "t": red, text-row font style
  Separator,  // "-"
  Grey,       // "a"
  Blue,       // 0x81: bold blue
  Other,      // any other first character: no display masks
};

TRowKind RowKindOf(std::string_view marker);
// Separator, grey and blue rows enter every visible column and always get the
// plain text editor.
bool OpensEveryColumn(TRowKind kind);

enum class TMarkerLine { None, Red, Green };

// How the marker cell is drawn.
struct TMarkerLook {
  std::string Letter;       // "D", "S", "Z", "-", "A" or empty
  bool Bracket = false;     // blue rows: an open bracket drawn with lines
  bool Enlarged = false;    // separator rows: 4 points larger
  bool GreenFill = false;   // second character "h"
  bool YellowFill = false;  // fourth character "j"
  TMarkerLine Line = TMarkerLine::None;  // third character "p" (red) or "g" (green)
};
TMarkerLook MarkerLookOf(std::string_view marker);

}  // namespace sp
