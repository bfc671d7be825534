// The error that carries the system's error numbers (3022, 3260, 13, ...) across layers.
// Thrown where a procedure raises, caught where it traps; never swallowed silently.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>

namespace tolvane {

namespace errnum {
constexpr int InvalidCall = 5;  // invalid procedure call or argument
constexpr int Overflow = 6;
constexpr int Subscript = 9;  // subscript out of range
constexpr int DivisionByZero = 11;
constexpr int TypeMismatch = 13;
constexpr int FileNotFound = 53;
constexpr int FileAlreadyExists = 58;
constexpr int FileAccess = 75;  // path/file access error
constexpr int PathNotFound = 76;
constexpr int ObjectNotSet = 91;    // object variable not set
constexpr int InvalidPattern = 93;  // invalid pattern string (Like)
constexpr int InvalidUseOfNull = 94;
constexpr int NoSuchArrayElement = 340;
constexpr int InvalidPropertyValue = 380;
constexpr int ObjectRequired = 424;
constexpr int KeyAlreadyInCollection = 457;
constexpr int NoCurrentRecord = 3021;
constexpr int DuplicateKey = 3022;
constexpr int TableNotFound = 3078;
constexpr int FieldTooSmall = 3163;
constexpr int ItemNotFound = 3265;
constexpr int RequiredField = 3314;
constexpr int DatabaseFailure = 3146;
constexpr int TableLocked = 3186;   // a table locked by another statement or connection
constexpr int FileLocked = 3219;    // the whole database file held by another connection
constexpr int RecordLocked = 3260;  // the data to write locked by another connection
}  // namespace errnum

class NumberedError : public std::runtime_error {
  public:
    NumberedError(int number, std::string description, std::string source = {})
        : std::runtime_error(description),
          number_(number),
          description_(std::move(description)),
          source_(std::move(source)) {}

    int number() const { return number_; }
    const std::string& description() const { return description_; }
    const std::string& source() const { return source_; }

  private:
    int number_;
    std::string description_;
    std::string source_;
};

// The error of an object that a procedure needs and nobody has set yet.
inline NumberedError objectNotSet(std::string source) {
    return NumberedError(errnum::ObjectNotSet, "Object variable or With block variable not set",
                         std::move(source));
}

}  // namespace tolvane
