#include "workbook/cell_value.h"

namespace sp {

namespace {

static_assert(sizeof(void*) <= 2 * sizeof(uint32_t), "the payload holds a pointer");

template <typename T>
void Store(uint32_t (&payload)[2], T value) noexcept {
  static_assert(sizeof(T) <= sizeof payload);
  payload[0] = payload[1] = 0;
  std::memcpy(payload, &value, sizeof value);
}

template <typename T>
T Load(const uint32_t (&payload)[2]) noexcept {
  T value;
  std::memcpy(&value, payload, sizeof value);
  return value;
}

}  // namespace

template <typename T>
TCellValue TCellValue::Make(TValueKind kind, T value) noexcept {
  TCellValue v;
  Store(v.payload_, value);
  v.kind_ = kind;
  return v;
}

TCellValue TCellValue::Integer(int32_t value) noexcept { return Make(TValueKind::Integer, value); }
TCellValue TCellValue::Number(double value) noexcept { return Make(TValueKind::Number, value); }
TCellValue TCellValue::DateTime(double value) noexcept { return Make(TValueKind::DateTime, value); }
TCellValue TCellValue::Boolean(bool value) noexcept { return Make(TValueKind::Boolean, value); }

TCellValue TCellValue::Text(const TWideText& text) noexcept {
  TWideText::Retain(text.rep_);
  return Make(TValueKind::Text, text.rep_);
}

TCellValue::TCellValue(const TCellValue& other) noexcept : payload_{other.payload_[0], other.payload_[1]}, kind_(other.kind_) {
  TWideText::Retain(TextRep());
}

TCellValue::TCellValue(TCellValue&& other) noexcept : payload_{other.payload_[0], other.payload_[1]}, kind_(other.kind_) {
  other.kind_ = TValueKind::Null;
}

TCellValue& TCellValue::operator=(const TCellValue& other) noexcept {
  TWideText::Retain(other.TextRep());
  DropText();
  payload_[0] = other.payload_[0];
  payload_[1] = other.payload_[1];
  kind_ = other.kind_;
  return *this;
}

TCellValue& TCellValue::operator=(TCellValue&& other) noexcept {
  if (this != &other) {
    DropText();
    payload_[0] = other.payload_[0];
    payload_[1] = other.payload_[1];
    kind_ = other.kind_;
    other.kind_ = TValueKind::Null;
  }
  return *this;
}

TWideText::Rep* TCellValue::TextRep() const noexcept {
  return kind_ == TValueKind::Text ? Load<TWideText::Rep*>(payload_) : nullptr;
}

void TCellValue::DropText() noexcept { TWideText::Release(TextRep()); }

int32_t TCellValue::AsInteger() const noexcept { return kind_ == TValueKind::Integer ? Load<int32_t>(payload_) : 0; }

double TCellValue::AsDouble() const noexcept {
  return kind_ == TValueKind::Number || kind_ == TValueKind::DateTime ? Load<double>(payload_) : 0.0;
}

bool TCellValue::AsBoolean() const noexcept { return kind_ == TValueKind::Boolean && Load<bool>(payload_); }

std::u16string_view TCellValue::AsText() const noexcept { return TWideText::ViewOf(TextRep()); }

bool operator==(const TCellValue& a, const TCellValue& b) noexcept {
  if (a.kind_ != b.kind_) return false;
  switch (a.kind_) {
    case TValueKind::Null: return true;
    case TValueKind::Integer: return a.AsInteger() == b.AsInteger();
    case TValueKind::Number:
    case TValueKind::DateTime: return a.AsDouble() == b.AsDouble();
    case TValueKind::Boolean: return a.AsBoolean() == b.AsBoolean();
    case TValueKind::Text: return a.AsText() == b.AsText();
  }
  return false;
}

}  // namespace sp
