#include "datagrid/rowmarker.h"

namespace sp {

TRowKind RowKindOf(std::string_view marker) {
  if (marker.empty()) return TRowKind::Data;
  switch (static_cast<unsigned char>(marker[0])) {
    case 'd':
    case '*': return TRowKind::Data;
    case 't': return TRowKind::Text;
    case '-': return TRowKind::Separator;
    case 'a': return TRowKind::Grey;
    case 0x81: return TRowKind::Blue;
    default: return TRowKind::Other;
  }
}

bool OpensEveryColumn(TRowKind kind) {
  return kind == TRowKind::Separator || kind == TRowKind::Grey || kind == TRowKind::Blue;
}

TMarkerLook MarkerLookOf(std::string_view marker) {
  TMarkerLook look;
  if (marker.empty()) return look;
  char letter = 0;
  switch (static_cast<unsigned char>(marker[0])) {
    case 'd': letter = 'D'; break;
    case '*': letter = 'S'; break;
    case 't': letter = 'Z'; break;
    case '-': letter = '-'; look.Enlarged = true; break;
    case 'a': letter = 'A'; break;
    case 0x81: look.Bracket = true; break;
    default: break;
  }
  if (letter != 0) look.Letter = std::string(1, letter);
  look.GreenFill = marker.size() >= 2 && marker[1] == 'h';
  if (marker.size() >= 3 && marker[2] == 'p') look.Line = TMarkerLine::Red;
  if (marker.size() >= 3 && marker[2] == 'g') look.Line = TMarkerLine::Green;
  look.YellowFill = marker.size() >= 4 && marker[3] == 'j';
  return look;
}

}  // namespace sp
