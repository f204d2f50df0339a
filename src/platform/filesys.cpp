#include "platform/filesys.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace sp {

namespace {

// Parent folder of a native path ("." for a bare name).
std::string ParentOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

int SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return errno;
  const int result = ::fsync(fd) == 0 ? 0 : errno;
  ::close(fd);
  // Some file systems refuse fsync on folders; the rename itself stands.
  return result == EINVAL ? 0 : result;
}

}  // namespace

TPathStatus QueryPath(const std::string& path) {
  TPathStatus status;
  struct stat st {};
  if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) status.isLink = true;
  if (::stat(path.c_str(), &st) != 0) {
    status.error = errno;
    return status;
  }
  status.isFolder = S_ISDIR(st.st_mode);
  status.mode = st.st_mode & 07777;
  return status;
}

bool FolderListsEntry(const std::string& folder, const std::string& name, bool& isFolder) {
  isFolder = false;
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return false;
  bool found = false;
  while (dirent* entry = ::readdir(dir)) {
    if (name != entry->d_name) continue;
    found = true;
    if (entry->d_type == DT_DIR) {
      isFolder = true;
    } else if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
      struct stat st {};
      isFolder = ::fstatat(::dirfd(dir), entry->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
    }
    break;
  }
  ::closedir(dir);
  return found;
}

bool CanOpenFolder(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

int MakeFolder(const std::string& path) { return ::mkdir(path.c_str(), 0777) == 0 ? 0 : errno; }
int RemoveFile(const std::string& path) { return ::unlink(path.c_str()) == 0 ? 0 : errno; }
int RemoveFolder(const std::string& path) { return ::rmdir(path.c_str()) == 0 ? 0 : errno; }
int ChangeMode(const std::string& path, uint32_t mode) {
  return ::chmod(path.c_str(), static_cast<mode_t>(mode)) == 0 ? 0 : errno;
}

int ListFolder(const std::string& path, std::vector<TFolderEntry>& entries) {
  DIR* dir = ::opendir(path.c_str());
  if (!dir) return errno;
  int error = 0;
  for (;;) {
    errno = 0;
    dirent* entry = ::readdir(dir);
    if (!entry) {
      error = errno;
      break;
    }
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    bool folder = entry->d_type == DT_DIR;
    if (entry->d_type == DT_UNKNOWN) {
      struct stat st {};
      folder = ::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
    }
    entries.push_back({name, folder});
  }
  ::closedir(dir);
  return error;
}

int RemoveTree(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return errno;
  if (!S_ISDIR(st.st_mode)) return RemoveFile(path);
  std::vector<TFolderEntry> entries;
  int error = ListFolder(path, entries);
  for (const auto& entry : entries) {
    const int e = RemoveTree(path + "/" + entry.name);
    if (error == 0) error = e;
  }
  const int e = RemoveFolder(path);
  return error != 0 ? error : e;
}

int OpenFile(const std::string& path, TFileOpen mode, int& error) {
  int flags = O_CLOEXEC;
  switch (mode) {
    case TFileOpen::Read: flags |= O_RDONLY; break;
    case TFileOpen::ReadWrite: flags |= O_RDWR; break;
    case TFileOpen::Always: flags |= O_RDWR | O_CREAT; break;
    case TFileOpen::Truncate: flags |= O_RDWR | O_CREAT | O_TRUNC; break;
  }
  const int fd = ::open(path.c_str(), flags, 0666);
  error = fd >= 0 ? 0 : errno;
  return fd;
}

int ReadWholeFile(const std::string& path, std::string& bytes) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno;
  std::string content;
  char block[65536];
  int error = 0;
  for (;;) {
    const ssize_t n = ::read(fd, block, sizeof block);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = errno;
      break;
    }
    if (n == 0) break;
    content.append(block, static_cast<size_t>(n));
  }
  ::close(fd);
  if (error == 0) bytes = std::move(content);
  return error;
}

TReplacingFile::~TReplacingFile() { Abandon(); }

void TReplacingFile::Abandon() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
}

int TReplacingFile::Open(const std::string& target) {
  Abandon();
  target_ = target;
  // Through a link the file it names is replaced, so the link stays.
  struct stat st {};
  if (::lstat(target.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    if (char* resolved = ::realpath(target.c_str(), nullptr)) {
      target_ = resolved;
      std::free(resolved);
    }
  }
  // A hidden name beside the target, so the rename stays on one file system.
  const size_t cut = target_.find_last_of('/') + 1;  // 0 without a folder part
  const std::string pattern = target_.substr(0, cut) + "." + target_.substr(cut) + ".XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  fd_ = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd_ < 0) return errno;
  temp_ = name.data();
  return 0;
}

int TReplacingFile::Write(const void* data, size_t size) {
  if (fd_ < 0) return EBADF;
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = ::write(fd_, p, size);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) return ENOSPC;
    p += n;
    size -= static_cast<size_t>(n);
  }
  return 0;
}

int TReplacingFile::Commit() {
  if (fd_ < 0) return EBADF;
  struct stat old {};
  mode_t mode;
  if (::stat(target_.c_str(), &old) == 0) {
    if (S_ISDIR(old.st_mode)) {
      Abandon();
      return EISDIR;
    }
    mode = old.st_mode & 07777;
    // Keeping the owner needs privileges we may lack; the content matters more.
    [[maybe_unused]] const int ownerKept = ::fchown(fd_, old.st_uid, old.st_gid);
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  int error = ::fchmod(fd_, mode) == 0 ? 0 : errno;
  if (error == 0 && ::fsync(fd_) != 0) error = errno;
  if (::close(fd_) != 0 && error == 0) error = errno;
  fd_ = -1;
  if (error == 0 && ::rename(temp_.c_str(), target_.c_str()) != 0) error = errno;
  if (error != 0) {
    Abandon();
    return error;
  }
  temp_.clear();
  return SyncFolder(ParentOf(target_));
}

int ReplaceFileContent(const std::string& target, std::string_view bytes) {
  TReplacingFile file;
  int error = file.Open(target);
  if (error == 0) error = file.Write(bytes.data(), bytes.size());
  if (error == 0) error = file.Commit();
  return error;
}

std::string EnvironmentText(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

std::string SystemTempFolder() {
  std::string folder = EnvironmentText("TMPDIR");
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder.empty() ? std::string("/tmp") : folder;
}

}  // namespace sp
