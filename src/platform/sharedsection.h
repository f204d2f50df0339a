// A named section of shared memory that two processes map under one name: the
// host creates it and fills it, the module opens it by name and reads and
// writes its bytes in place. It stands on POSIX shared memory objects.
//
// Name rule: the section "Local\Order42" is the shared memory object
// "/Local_Order42", i.e. "/" followed by the name with every "\" and "/"
// replaced by "_". Names are compared byte for byte, case-sensitively.
//
// Every operation returns 0 or the errno of the failing call, so that callers
// can build their own error texts; nothing here raises.
//
// Ownership: the object owns the descriptor and the view. A section made with
// Create also owns its name and removes it again at Close (the memory stays
// alive while other processes still have it mapped); one opened with Open
// never removes the name.
// Not thread-safe; one object is used by one thread at a time.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace sp {

enum class TSectionAccess { Read, Write, All };

// The shared memory object name of a section name (see the name rule above).
std::string SharedSectionObjectName(std::string_view sectionName);

class TSharedSection {
 public:
  TSharedSection() = default;
  ~TSharedSection();  // Close, errors ignored
  TSharedSection(TSharedSection&& other) noexcept;
  TSharedSection& operator=(TSharedSection&& other) noexcept;
  TSharedSection(const TSharedSection&) = delete;
  TSharedSection& operator=(const TSharedSection&) = delete;

  // Host side. Creates a new section of `size` zero bytes, readable and
  // writable by the owner only (0600). A name that exists already is refused
  // (EEXIST), so no other user can hand us a section prepared beforehand.
  // REQUIRES: !IsOpen(), size > 0.
  int Create(std::string_view name, int64_t size);
  // Module side. Opens an existing section; an absent one gives ENOENT.
  // Read access opens the object read-only; Write and All open it read-write.
  // REQUIRES: !IsOpen().
  int Open(std::string_view name, TSectionAccess access);

  // Maps the whole section for reading and writing (a section opened with
  // Read access therefore fails with EACCES). REQUIRES: IsOpen(), !IsMapped().
  int MapView();
  // Writes the view's pages back (msync). REQUIRES: IsMapped().
  int FlushView();
  int UnmapView();
  // Unmaps a view still mapped, closes the descriptor and, for a created
  // section, removes the name. Returns the first failure; the object is
  // closed afterwards in any case.
  int Close();

  bool IsOpen() const { return fd_ >= 0; }
  bool IsMapped() const { return view_ != nullptr; }
  // The mapped bytes; valid while IsMapped().
  char* View() const { return view_; }
  int64_t ViewSize() const { return viewSize_; }
  const std::string& ObjectName() const { return objectName_; }

 private:
  int fd_ = -1;
  bool ownsName_ = false;
  char* view_ = nullptr;
  int64_t viewSize_ = 0;
  std::string objectName_;
};

}  // namespace sp
