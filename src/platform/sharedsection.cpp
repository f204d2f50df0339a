#include "platform/sharedsection.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace sp {

std::string SharedSectionObjectName(std::string_view sectionName) {
  std::string name = "/";
  name.reserve(sectionName.size() + 1);
  for (char c : sectionName) name += (c == '\\' || c == '/') ? '_' : c;
  return name;
}

TSharedSection::~TSharedSection() { Close(); }

TSharedSection::TSharedSection(TSharedSection&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      ownsName_(std::exchange(other.ownsName_, false)),
      view_(std::exchange(other.view_, nullptr)),
      viewSize_(std::exchange(other.viewSize_, 0)),
      objectName_(std::move(other.objectName_)) {}

TSharedSection& TSharedSection::operator=(TSharedSection&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = std::exchange(other.fd_, -1);
    ownsName_ = std::exchange(other.ownsName_, false);
    view_ = std::exchange(other.view_, nullptr);
    viewSize_ = std::exchange(other.viewSize_, 0);
    objectName_ = std::move(other.objectName_);
  }
  return *this;
}

int TSharedSection::Create(std::string_view name, int64_t size) {
  if (size <= 0) return EINVAL;
  std::string objectName = SharedSectionObjectName(name);
  const int fd = ::shm_open(objectName.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return errno;
  // The umask cannot widen 0600, but a narrower one must not lock the owner out.
  if (::fchmod(fd, 0600) != 0 || ::ftruncate(fd, static_cast<off_t>(size)) != 0) {
    const int error = errno;
    ::close(fd);
    ::shm_unlink(objectName.c_str());
    return error;
  }
  fd_ = fd;
  ownsName_ = true;
  objectName_ = std::move(objectName);
  return 0;
}

int TSharedSection::Open(std::string_view name, TSectionAccess access) {
  std::string objectName = SharedSectionObjectName(name);
  const int flags = (access == TSectionAccess::Read ? O_RDONLY : O_RDWR) | O_CLOEXEC;
  const int fd = ::shm_open(objectName.c_str(), flags, 0);
  if (fd < 0) return errno;
  fd_ = fd;
  ownsName_ = false;
  objectName_ = std::move(objectName);
  return 0;
}

int TSharedSection::MapView() {
  struct stat info {};
  if (::fstat(fd_, &info) != 0) return errno;
  // An empty object cannot be mapped; mmap would say EINVAL as well.
  if (info.st_size <= 0) return EINVAL;
  void* view = ::mmap(nullptr, static_cast<size_t>(info.st_size), PROT_READ | PROT_WRITE, MAP_SHARED, fd_, 0);
  if (view == MAP_FAILED) return errno;
  view_ = static_cast<char*>(view);
  viewSize_ = info.st_size;
  return 0;
}

int TSharedSection::FlushView() {
  return ::msync(view_, static_cast<size_t>(viewSize_), MS_SYNC) == 0 ? 0 : errno;
}

int TSharedSection::UnmapView() {
  if (::munmap(view_, static_cast<size_t>(viewSize_)) != 0) return errno;
  view_ = nullptr;
  viewSize_ = 0;
  return 0;
}

int TSharedSection::Close() {
  int result = 0;
  if (view_ != nullptr) {
    result = UnmapView();
    view_ = nullptr;
    viewSize_ = 0;
  }
  if (fd_ >= 0) {
    if (::close(fd_) != 0 && result == 0) result = errno;
    fd_ = -1;
  }
  if (ownsName_) {
    if (::shm_unlink(objectName_.c_str()) != 0 && result == 0) result = errno;
    ownsName_ = false;
  }
  return result;
}

}  // namespace sp
