#include "hostlink/hostmessage.h"

#include <charconv>

#include "support/files.h"
#include "support/text1252.h"

namespace sp {

void WriteMessageHeader(TStream& stream, const TMessageHeader& header) {
  const int32_t fields[6] = {header.Magic, header.Code, header.Channel, header.Tag, header.Reserved, header.Kind};
  unsigned char bytes[kMessageHeaderSize];
  for (int f = 0; f < 6; ++f)
    for (int i = 0; i < 4; ++i) bytes[4 * f + i] = static_cast<unsigned char>(static_cast<uint32_t>(fields[f]) >> (8 * i));
  stream.WriteBuffer(bytes, kMessageHeaderSize);
}

std::optional<TReceivedMessage> ReadPipeMessage(TStream& message) {
  unsigned char bytes[kMessageHeaderSize];
  message.SetPosition(0);
  if (message.Size() < kMessageHeaderSize || message.Read(bytes, kMessageHeaderSize) != kMessageHeaderSize)
    return std::nullopt;
  int32_t fields[6];
  for (int f = 0; f < 6; ++f) {
    uint32_t bits = 0;
    for (int i = 3; i >= 0; --i) bits = (bits << 8) | bytes[4 * f + i];
    fields[f] = static_cast<int32_t>(bits);
  }
  TReceivedMessage received;
  received.Header = TMessageHeader{fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]};
  if (received.Header.Magic != kMessageMagic || received.Header.Kind == kKindIgnore) return std::nullopt;
  if (received.Header.Kind != kKindEncoded) {
    received.RawOffset = kMessageHeaderSize;
    return received;
  }
  TInternalMessage decoded = DecodeMessage(message);
  std::vector<TVariant> params(kMessageParamCount, TVariant(std::string()));
  for (size_t i = 0; i < decoded.Params.size() && i < params.size(); ++i) params[i] = std::move(decoded.Params[i]);
  received.Text19 = params[kDecodeErrorMarkParam].ToTextOrEmpty();
  received.Text20 = params[kDecodeErrorTextParam].ToTextOrEmpty();
  received.BackData = MakeBackData(params);
  return received;
}

std::string EscapeCommandText(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 2, kFieldSeparator) == 0) {
      escaped += kSeparatorEscape;
      ++i;
    } else {
      escaped += text[i];
    }
  }
  return escaped;
}

std::string JoinCommandFields(int32_t code, int32_t a, int32_t b, int32_t c, std::string_view text,
                              std::string_view moduleKey, int32_t window) {
  std::string joined;
  for (int32_t number : {code, a, b, c}) joined += std::to_string(number) + kFieldSeparator;
  joined += EscapeCommandText(text);
  joined += kFieldSeparator;
  joined += moduleKey;
  joined += kFieldSeparator;
  joined += std::to_string(window);
  return joined;
}

std::vector<std::string> SplitCommandFields(std::string_view text) {
  std::vector<std::string> fields;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find(kFieldSeparator, start);
    if (end == std::string_view::npos) {
      fields.emplace_back(text.substr(start));
      break;
    }
    fields.emplace_back(text.substr(start, end - start));
    start = end + 2;
  }
  return fields;
}

int32_t FieldToInt(std::string_view field) {
  int32_t value = 0;
  const char* first = field.data();
  const char* last = first + field.size();
  if (first != last && *first == '+' && ++first != last && *first == '-') return 0;
  const auto [end, error] = std::from_chars(first, last, value);
  return error == std::errc() && end == last && first != last ? value : 0;
}

std::string ModuleKeyOf(std::string_view path) {
  return IncludeDelimiter(AnsiUpperCase(path), kWindowsPathRules);
}

}  // namespace sp
