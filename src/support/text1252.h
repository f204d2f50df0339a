// The Windows-1252 text unit. Every text of the system is Windows-1252 bytes
// in a std::string; this unit converts at the edges (UTF-8 for files names and
// Qt, UTF-16 for workbook strings) and holds the upper-case table on which all
// case-insensitive comparisons rest.
//
// The five bytes Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D)
// map to the C1 controls of the same number, so every byte survives a round
// trip. A character Windows-1252 cannot hold becomes "?", as does every
// malformed UTF-8 sequence or unpaired surrogate.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace sp {

// Unicode code point of a Windows-1252 byte.
char32_t AnsiToCodePoint(unsigned char byte);
// Windows-1252 byte of a code point, or -1 when the code page cannot hold it.
int CodePointToAnsi(char32_t codePoint);

std::string AnsiToUtf8(std::string_view ansi);
std::string Utf8ToAnsi(std::string_view utf8);
std::u16string AnsiToUtf16(std::string_view ansi);
std::string Utf16ToAnsi(std::u16string_view utf16);

// A UTF-8 source literal as Windows-1252 text: Ansi("Datei %s kann nicht geöffnet werden").
inline std::string Ansi(std::string_view utf8) { return Utf8ToAnsi(utf8); }

// UpperTable[b] is byte b upper-cased under Windows-1252: a-z to A-Z,
// 0xE0-0xFE except 0xF7 minus 0x20, 0x9A/0x9C/0x9E to 0x8A/0x8C/0x8E,
// 0xFF to 0x9F; every other byte unchanged.
extern const std::array<unsigned char, 256> UpperTable;
// The inverse mapping, for lower-casing.
extern const std::array<unsigned char, 256> LowerTable;

inline unsigned char AnsiUpperChar(unsigned char c) { return UpperTable[c]; }
std::string AnsiUpperCase(std::string_view text);
std::string AnsiLowerCase(std::string_view text);

// Equal after mapping both through UpperTable (same length required).
bool SameText(std::string_view a, std::string_view b);
// Case-insensitive three-way comparison through UpperTable: <0, 0, >0.
int CompareText(std::string_view a, std::string_view b);
// Position of the first case-insensitive occurrence of `needle` at or after
// `from`, or std::string_view::npos.
size_t FindText(std::string_view haystack, std::string_view needle, size_t from = 0);

// Blanks are bytes 1..32, as the system's trimming functions see them.
inline bool IsBlank(unsigned char c) { return c >= 1 && c <= 32; }
std::string_view Trim(std::string_view text);
std::string_view TrimLeft(std::string_view text);
std::string_view TrimRight(std::string_view text);

}  // namespace sp
