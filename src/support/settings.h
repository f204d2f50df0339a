// The user settings store and the regional settings step.
//
// User settings live in "UserMode.INI", section "MODE", one value per call:
// every call opens its own TFastIniFile, so each read sees the file as it is
// on disk and each write is on disk when the call returns. Strings are stored
// in double quotes with inner quotes doubled, integers in decimal. No call
// raises: a failed read gives the default (strings: what was read so far,
// normally ""), a failed write is lost. An empty folder means ProgramFolder().
//
// LoadRegionalSettings runs once at start, on the owner thread, before
// anything formats a number; it fills FormatSettings() from "ALTEURO.INI".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace sp {

// IncludeBackslash(folder, or ProgramFolder() when empty) + "UserMode.INI".
std::string UserModeFile(std::string_view folder = {});

// Nothing for an empty key.
void WriteUserModeString(std::string_view key, std::string_view value, std::string_view folder = {});
void WriteUserModeInteger(std::string_view key, int32_t value, std::string_view folder = {});
// "" for an empty key. A value beginning with a double quote is unquoted
// (up to its closing quote, doubled quotes made single); an unquoted value is
// cut at an inline comment. With writeBack the result is stored at once, so
// the key exists afterwards.
std::string ReadUserModeString(std::string_view key, std::string_view fallback, std::string_view folder = {},
                               bool writeBack = false);
// The fallback for an empty key or a value that is no number.
int32_t ReadUserModeInteger(std::string_view key, int32_t fallback, std::string_view folder = {},
                            bool writeBack = false);

// Quoting as the store writes strings, and its inverse (the text up to the
// closing quote; the rest when there is none). REQUIRES for Unquote: the
// text begins with a double quote.
std::string QuoteUserModeText(std::string_view text);
std::string UnquoteUserModeText(std::string_view quoted);

// Sets the process's currency text, currency formats, separators and date
// separator from "ALTEURO.INI" in `folder` (empty: ProgramFolder()).
// Errors while reading are ignored; what was set before them stays.
void LoadRegionalSettings(std::string_view folder = {});

}  // namespace sp
