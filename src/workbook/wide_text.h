// An immutable UTF-16 string whose copies share one block of characters, so
// that a shared string of a workbook is held once however many cells show it.
// The count of holders is atomic: copies may travel between threads, the
// characters never change.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

namespace sp {

class TWideText {
 public:
  TWideText() noexcept = default;  // the empty text; holds no block
  explicit TWideText(std::u16string_view text);
  TWideText(const TWideText& other) noexcept : rep_(other.rep_) { Retain(rep_); }
  TWideText(TWideText&& other) noexcept : rep_(other.rep_) { other.rep_ = nullptr; }
  TWideText& operator=(const TWideText& other) noexcept;
  TWideText& operator=(TWideText&& other) noexcept;
  ~TWideText() { Release(rep_); }

  std::u16string_view View() const noexcept { return ViewOf(rep_); }
  size_t Length() const noexcept { return rep_ ? rep_->length : 0; }
  bool Empty() const noexcept { return Length() == 0; }
  friend bool operator==(const TWideText& a, const TWideText& b) noexcept { return a.View() == b.View(); }

 private:
  friend class TCellValue;  // keeps the block pointer in its compact payload
  struct Rep {
    std::atomic<uint32_t> holders;
    uint32_t length;
    // the characters follow the header
  };
  static void Retain(Rep* rep) noexcept {
    if (rep) rep->holders.fetch_add(1, std::memory_order_relaxed);
  }
  static void Release(Rep* rep) noexcept;
  static std::u16string_view ViewOf(const Rep* rep) noexcept;

  Rep* rep_ = nullptr;
};

}  // namespace sp
