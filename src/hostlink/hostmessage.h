// The host protocol on top of the pipe: the 24-byte message header, the
// host command text and the parsing of a received pipe message.
//
// Header: six 32-bit little-endian integers Magic (130599), Code, Channel,
// Tag, Reserved, Kind. Kind 0: ignore; 1: an encoded TInternalMessage
// follows; other: raw data follows. Channel 5000 or more marks a host
// command, whose text (parameter 3) is seven fields joined with "<>": code,
// A, B, C, text (every "<>" in it replaced by byte 8), module key, window.
// Parameter 16 names the sender: computer name, "<>", user name.
// docs/formats/pipe-protocol.md describes the bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "hostlink/internalmessage.h"
#include "platform/stream.h"

namespace sp {

inline constexpr int32_t kMessageMagic = 130599;
inline constexpr int32_t kHostCommandChannel = 5000;
inline constexpr int32_t kHostCommandCode = 5000;
inline constexpr int32_t kKindIgnore = 0;
inline constexpr int32_t kKindEncoded = 1;
inline constexpr int kMessageHeaderSize = 24;
inline constexpr int kCommandTextParam = 3;
inline constexpr int kSenderParam = 16;
inline constexpr const char* kFieldSeparator = "<>";
inline constexpr char kSeparatorEscape = '\x08';

struct TMessageHeader {
  int32_t Magic = kMessageMagic;
  int32_t Code = 0;
  int32_t Channel = 0;
  int32_t Tag = 0;
  int32_t Reserved = 0;
  int32_t Kind = kKindEncoded;
};

void WriteMessageHeader(TStream& stream, const TMessageHeader& header);

// A pipe message as a receiver sees it after the header checks.
struct TReceivedMessage {
  TMessageHeader Header;
  // Kind 1: the decoded parameters (always 21; further ones dropped).
  std::optional<TClientBackData> BackData;
  // Other kinds: offset of the raw data in the pipe message (24).
  int64_t RawOffset = 0;
  std::string Text19;  // "Fehler(V2S)" when the message failed to decode
  std::string Text20;  // and then the error text
};

// Reads the pipe message from the stream's start. Nothing when it is to be
// ignored: shorter than 24 bytes, another Magic, or Kind 0. Never raises.
std::optional<TReceivedMessage> ReadPipeMessage(TStream& message);

// The command text: fields joined with "<>"; the text field escaped.
std::string EscapeCommandText(std::string_view text);
std::string JoinCommandFields(int32_t code, int32_t a, int32_t b, int32_t c, std::string_view text,
                              std::string_view moduleKey, int32_t window);
// Splits at every "<>": empty fields between separators are kept, nothing
// follows a final "<>", an empty text gives no fields.
std::vector<std::string> SplitCommandFields(std::string_view text);
// A decimal 32-bit integer, or 0 for any other text.
int32_t FieldToInt(std::string_view field);

// The module's address: the path with a trailing "\" (none added when empty
// or ending in "\" or ":"; a single letter gets ":\"), upper-cased. The same
// rule on every platform, since host and module must agree on it.
std::string ModuleKeyOf(std::string_view path);

}  // namespace sp
