// Exception classes of the whole system. Every failure is raised as one of
// these (or a subclass a subsystem adds), carrying the system's own text.
// Messages are Windows-1252 text, like every text of the system.
#pragma once

#include <exception>
#include <string>

namespace sp {

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  const std::string& Message() const noexcept { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

// Stream and file errors.
class EStreamError : public Exception { using Exception::Exception; };
class EFCreateError : public EStreamError { using EStreamError::EStreamError; };
class EFOpenError : public EStreamError { using EStreamError::EStreamError; };
class EReadError : public EStreamError { using EStreamError::EStreamError; };
class EWriteError : public EStreamError { using EStreamError::EStreamError; };

// An operating-system call failed; ErrorCode is its errno.
class EOSError : public Exception {
 public:
  EOSError(std::string message, int errorCode) : Exception(std::move(message)), errorCode_(errorCode) {}
  int ErrorCode() const noexcept { return errorCode_; }

 private:
  int errorCode_;
};

// The input/output error class; ErrorCode is the system's code (3: path not found).
class EInOutError : public Exception {
 public:
  EInOutError(std::string message, int errorCode) : Exception(std::move(message)), errorCode_(errorCode) {}
  int ErrorCode() const noexcept { return errorCode_; }

 private:
  int errorCode_;
};

class EStringListError : public Exception { using Exception::Exception; };
class EConvertError : public Exception { using Exception::Exception; };

// Raises EOSError for errno `code`, the message being the system's text for it.
[[noreturn]] void RaiseOSError(int code);

}  // namespace sp
