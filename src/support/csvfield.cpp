#include "support/csvfield.h"

namespace sp {

namespace {

// The escape of a byte, or nullptr when it stands as it is.
const char* EscapeOf(char c) {
  switch (c) {
    case '%': return "%%";
    case '\0': return "%0";
    case '\r': return "%c";
    case '\n': return "%n";
    default: return nullptr;
  }
}

// The byte an escape code stands for; false for an unknown code.
bool UnescapeCode(char code, char& plain) {
  switch (code) {
    case '%': plain = '%'; return true;
    case '0': plain = '\0'; return true;
    case 'c': plain = '\r'; return true;
    case 'n': plain = '\n'; return true;
    default: return false;
  }
}

}  // namespace

void AppendQuoted(std::string& out, std::string_view text) {
  out += '"';
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

void AppendEscaped(std::string& out, std::string_view text) {
  for (const char c : text) {
    if (const char* escape = EscapeOf(c)) out += escape;
    else out += c;
  }
}

void AppendEscapedQuoted(std::string& out, std::string_view text) {
  out += '"';
  for (const char c : text) {
    if (const char* escape = EscapeOf(c)) out += escape;
    else if (c == '"') out += "\"\"";
    else out += c;
  }
  out += '"';
}

void UnescapeInPlace(std::string& text) {
  size_t from = text.find('%');
  if (from == std::string::npos) return;
  size_t to = from;
  while (from < text.size()) {
    const char c = text[from++];
    char plain;
    if (c == '%' && from < text.size() && UnescapeCode(text[from], plain)) {
      text[to++] = plain;
      ++from;
    } else {
      text[to++] = c;
    }
  }
  text.resize(to);
}

std::string Unescape(std::string_view text) {
  std::string out(text);
  UnescapeInPlace(out);
  return out;
}

}  // namespace sp
