#pragma once
// Errors carry a kind and a message. The kinds are those the error dialog tells apart; most of
// our code raises only a handful of them, and the few that callers catch by type get a class.

#include <exception>
#include <string>

enum class ErrorKind {
  Exception,  // any other error
  EAbort,
  EOutOfMemory,
  EOutOfResources,
  EInOutError,
  EIntError,
  EDivByZero,
  ERangeError,
  EIntOverflow,
  EMathError,
  EInvalidOp,
  EZeroDivide,
  EOverflow,
  EUnderflow,
  EInvalidPointer,
  EInvalidCast,
  EConvertError,
  EAccessViolation,
  EPrivilege,
  EStackOverflow,
  EControlC,
  EVariantError,
  EPropReadOnly,
  EPropWriteOnly,
  EExternalException,
  EStreamError,
  EFCreateError,
  EFOpenError,
  EFilerError,
  EReadError,
  EWriteError,
  EClassNotFound,
  EMethodNotFound,
  EInvalidImage,
  EResNotFound,
  EListError,
  EBitsError,
  EStringListError,
  EComponentError,
  EParserError,
  EThread,
  EPrinter,
  EMenuError,
  EInvalidOperation,
  EInvalidGraphic,
  ERegistryException,
  EMyRegistryException,
  EDBEditError,
  EDatabaseError,
  EDBEngineError,
  EInvalidGridOperation,
  EMyAbort,
};

// The class name of a kind, as the error dialog's details show it ("EReadError").
const char* ErrorKindName(ErrorKind kind);
// True when kind is ancestor or derives from it.
bool ErrorKindIsA(ErrorKind kind, ErrorKind ancestor);

class Exception : public std::exception {
 public:
  Exception(ErrorKind kind, std::string message) : kind_(kind), message_(std::move(message)) {}
  explicit Exception(std::string message) : Exception(ErrorKind::Exception, std::move(message)) {}

  ErrorKind Kind() const { return kind_; }
  const std::string& Message() const { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  ErrorKind kind_;
  std::string message_;
};

// The silent abort: ends an operation without any message.
class EAbort : public Exception {
 public:
  EAbort() : Exception(ErrorKind::EAbort, "Operation aborted") {}
};

// The user's cancel, reported as a notice, not as a fault.
class EMyAbort : public Exception {
 public:
  EMyAbort() : Exception(ErrorKind::EMyAbort, "Operation aborted!") {}
};

// Malformed or truncated data in a tagged value stream.
class EReadError : public Exception {
 public:
  explicit EReadError(std::string message) : Exception(ErrorKind::EReadError, std::move(message)) {}
};

class EMyRegistryException : public Exception {
 public:
  explicit EMyRegistryException(std::string message) : Exception(ErrorKind::EMyRegistryException, std::move(message)) {}
};

[[noreturn]] void RaiseAbort();  // throws EMyAbort

// "INTERN:<cls>.<method> - Unknown Case value": a switch met a value it does not know.
[[noreturn]] void RaiseUnknownCase(const char* cls, const char* method);

// Formats a message with one %s, as the fixed message texts use it.
std::string FormatText(const std::string& pattern, const std::string& arg);

// Any caught error as kind + message, so the one error handler can show it.
struct ErrorInfo {
  ErrorKind kind = ErrorKind::Exception;
  std::string message;
};
ErrorInfo DescribeError(std::exception_ptr error);

// The kind text the error dialog shows, built by its ordered tests.
std::string ErrorKindText(ErrorKind kind);
