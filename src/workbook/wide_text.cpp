#include "workbook/wide_text.h"

#include <cstring>
#include <new>
#include <stdexcept>

namespace sp {

TWideText::TWideText(std::u16string_view text) {
  if (text.empty()) return;
  if (text.size() > UINT32_MAX) throw std::length_error("TWideText: text too long");
  void* block = ::operator new(sizeof(Rep) + text.size() * sizeof(char16_t));
  rep_ = new (block) Rep{{1}, static_cast<uint32_t>(text.size())};
  std::memcpy(static_cast<void*>(rep_ + 1), text.data(), text.size() * sizeof(char16_t));
}

TWideText& TWideText::operator=(const TWideText& other) noexcept {
  Retain(other.rep_);
  Release(rep_);
  rep_ = other.rep_;
  return *this;
}

TWideText& TWideText::operator=(TWideText&& other) noexcept {
  if (this != &other) {
    Release(rep_);
    rep_ = other.rep_;
    other.rep_ = nullptr;
  }
  return *this;
}

void TWideText::Release(Rep* rep) noexcept {
  if (rep && rep->holders.fetch_sub(1, std::memory_order_acq_rel) == 1) {
    rep->~Rep();
    ::operator delete(rep);
  }
}

std::u16string_view TWideText::ViewOf(const Rep* rep) noexcept {
  if (!rep) return {};
  return {reinterpret_cast<const char16_t*>(rep + 1), rep->length};
}

}  // namespace sp
