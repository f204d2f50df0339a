#include "hostlink/internalmessage.h"

#include "hostlink/variantstream.h"
#include "platform/errors.h"

namespace sp {

namespace {

constexpr const char* kRootName = "IMP";
constexpr size_t kFixedElements = 7;

std::string Replaced(std::string text, char from, char to) {
  for (char& c : text)
    if (c == from) c = to;
  return text;
}

std::string JoinIdentity(const TIdentity& identity) {
  return Replaced(identity.Field1, ';', '\t') + ";" + Replaced(identity.Field2, ';', '\t') + ";" +
         Replaced(identity.Field3, ';', '\t') + ";" + Replaced(identity.Field5, ';', '\t');
}

TIdentity SplitIdentity(const std::string& joined) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (parts.size() < 4) {
    const size_t end = joined.find(';', start);
    parts.push_back(Replaced(joined.substr(start, end == std::string::npos ? std::string::npos : end - start), '\t', ';'));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  parts.resize(4);
  TIdentity identity;
  identity.Field1 = parts[0];
  identity.Field2 = parts[1];
  identity.Field3 = parts[2];
  identity.Field5 = parts[3];
  return identity;
}

// Fills the fixed fields from the elements in turn; stops at the first
// element that is missing or does not convert.
void FillFixedFields(const std::vector<TVariant>& items, TInternalMessage& message) {
  auto text = [&](size_t i, std::string& field) {
    if (i >= items.size() || items[i].IsArray()) return false;
    field = items[i].ToText();
    return true;
  };
  auto integer = [&](size_t i, int32_t& field) { return i < items.size() && items[i].ToInt32(field); };
  std::string identity;
  if (!integer(0, message.Code) || !text(1, identity)) return;
  message.Identity = SplitIdentity(identity);
  if (!text(2, message.TextA) || !text(3, message.TextB) || !integer(4, message.Number) || !text(5, message.TextC))
    return;
  text(6, message.TextD);
}

}  // namespace

TInternalMessage NewMessage() {
  TInternalMessage message;
  message.Params.assign(kMessageParamCount, TVariant(std::string()));
  return message;
}

void EncodeMessage(const TInternalMessage& message, TStream& stream) {
  try {
    std::vector<TVariant> items;
    items.reserve(kFixedElements + message.Params.size());
    items.emplace_back(message.Code);
    items.emplace_back(JoinIdentity(message.Identity));
    items.emplace_back(message.TextA);
    items.emplace_back(message.TextB);
    items.emplace_back(message.Number);
    items.emplace_back(message.TextC);
    items.emplace_back(message.TextD);
    items.insert(items.end(), message.Params.begin(), message.Params.end());
    TVariant2StreamConverter(stream).WriteVariantArray(kRootName, TVariant::Array(kVarVariant, 0, std::move(items)));
  } catch (const std::exception&) {
    // The caller sends what was written; a message is never refused here.
  }
}

TInternalMessage DecodeMessage(TStream& stream) {
  TInternalMessage message = NewMessage();
  try {
    TVariant root = TVariant2StreamConverter(stream).ReadVariantArray(kRootName);
    std::vector<TVariant>& items = root.Items();
    FillFixedFields(items, message);
    message.Params.clear();
    if (items.size() > kFixedElements)
      message.Params.assign(std::make_move_iterator(items.begin() + kFixedElements), std::make_move_iterator(items.end()));
  } catch (const std::exception& error) {
    message = NewMessage();
    message.Code = kDecodeErrorCode;
    message.Number = 0;
    message.Params[kDecodeErrorMarkParam] = TVariant(kDecodeErrorMark);
    message.Params[kDecodeErrorTextParam] = TVariant(std::string(error.what()));
  }
  return message;
}

TClientBackData MakeBackData(const std::vector<TVariant>& params) { return TClientBackData{params}; }

}  // namespace sp
