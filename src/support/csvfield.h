// The field codec shared by the system's CSV texts: the order data map, the
// rules store and the grid stream all quote and escape a field the same way.
//
// Quoting: the field in double quotes, a double quote inside written twice.
// Escaping, before quoting: "%" -> "%%", NUL -> "%0", CR -> "%c", LF -> "%n",
// so a field never holds a line break. Unescaping undoes the four escapes; an
// unknown escape ("%x") and a "%" at the very end stay as they stand.
#pragma once

#include <string>
#include <string_view>

namespace sp {

void AppendQuoted(std::string& out, std::string_view text);
void AppendEscaped(std::string& out, std::string_view text);
// AppendEscaped and AppendQuoted in one pass.
void AppendEscapedQuoted(std::string& out, std::string_view text);

std::string Unescape(std::string_view text);
void UnescapeInPlace(std::string& text);

}  // namespace sp
