#pragma once
// The ordinary exception class of the runtime and its descendants. Code that "catches
// an error of the ordinary class" catches krp::Exception; programmer errors are
// assertions, not exceptions.
#include <stdexcept>
#include <string>

namespace krp {

class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  // The message as the runtime's Exception.Message would give it: bytes in the ANSI code page.
  std::string Message() const { return what(); }
};

// A variant could not be converted to the requested type.
class EVariantError : public Exception {
 public:
  using Exception::Exception;
};
class EVariantTypeCastError : public EVariantError {
 public:
  using EVariantError::EVariantError;
};
// An array index outside the bounds, or the wrong number of indices.
class EVariantBadIndexError : public EVariantError {
 public:
  using EVariantError::EVariantError;
};

// Automation failures: unregistered class names, unknown members, calls on unassigned variants.
class EOleError : public Exception {
 public:
  using Exception::Exception;
};
class EOleSysError : public EOleError {
 public:
  EOleSysError(const std::string& message, long errorCode) : EOleError(message), ErrorCode(errorCode) {}
  long ErrorCode;
};

// A text that does not hold the value it should (numbers, dates).
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

// A malformed typed-JSON text; the message names the byte offset.
class EJsonError : public Exception {
 public:
  EJsonError(const std::string& message, std::size_t position)
      : Exception(message + " at offset " + std::to_string(position)), Position(position) {}
  std::size_t Position;
};

// The runtime's abstract-method error (a virtual slot without a body was called).
class EAbstractError : public Exception {
 public:
  using Exception::Exception;
};

}  // namespace krp
