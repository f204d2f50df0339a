// The text of the message box: the caller's message (HTML markup, line breaks
// as CR LF or "<BR>" in any letter case) turned into the label's markup.
#pragma once

#include <string>
#include <string_view>

namespace sp {

// The most lines a box shows; longer texts keep these, a dotted line and
// their last line.
inline constexpr int kBoxTextLines = 21;

// Every line break (CR, LF, CR LF, "<BR>" in any letter case) becomes one
// "<br>"; a break at the very end adds nothing. A text of more than 21 lines
// keeps lines 1 to 21, then "<br>................<br>" and the last line.
std::string FormatBoxText(std::string_view message);

// Put before error details by callers: "<B>Möglicher Fehler:</B><BR>".
std::string PossibleErrorHeader();

}  // namespace sp
