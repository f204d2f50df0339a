// The message record of the host link and its encoded form.
//
// A message travels as a one-dimensional array of variants, bounds 0 to
// 6 + parameter count, written head first without a tag of its own:
// Code (32-bit integer), the joined identity (fields 1, 2, 3 and 5, each ";"
// turned into a tab, joined with ";"), TextA, TextB (8-bit texts), Number
// (32-bit integer), TextC, TextD (8-bit texts), then every parameter as its
// own value. docs/formats/variant-stream.md describes the bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "hostlink/variant.h"
#include "platform/stream.h"

namespace sp {

// The sender record. Field4 never travels.
struct TIdentity {
  std::string Field1, Field2, Field3, Field4, Field5;
};

struct TInternalMessage {
  int32_t Code = -1;
  std::vector<TVariant> Params;
  std::string TextA;
  std::string TextB;
  TIdentity Identity;
  int32_t Number = 0;
  std::string TextC;
  std::string TextD;
};

// The parameters of a received message, copied for one delivery.
struct TClientBackData {
  std::vector<TVariant> Params;
};

inline constexpr int kMessageParamCount = 21;
inline constexpr int kDecodeErrorCode = 5000;
inline constexpr int kDecodeErrorMarkParam = 19;
inline constexpr int kDecodeErrorTextParam = 20;
inline constexpr const char* kDecodeErrorMark = "Fehler(V2S)";

// Code -1, empty identity and texts, Number 0, 21 empty 8-bit texts.
TInternalMessage NewMessage();
// Appends the message array at the stream's position. Never raises: after a
// failure the stream keeps what was written before it.
void EncodeMessage(const TInternalMessage& message, TStream& stream);
// Reads one message array from the stream's position. Never raises: a read
// error gives Code 5000, Number 0 and 21 empty parameters with "Fehler(V2S)"
// in parameter 19 and the error text in parameter 20. Elements that are
// missing or do not convert leave the remaining fields as NewMessage has them.
TInternalMessage DecodeMessage(TStream& stream);
TClientBackData MakeBackData(const std::vector<TVariant>& params);

}  // namespace sp
