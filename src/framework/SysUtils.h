// Exceptions and the text <-> integer conversions that every layer shares.
// Messages are CP932 byte strings, like every text of the core.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

namespace framework {

// The general exception kind: a CP932 message, as the error box shows it.
// what() gives the same message as UTF-8, for a terminal or a log.
class Exception : public std::exception {
  public:
    explicit Exception(std::string messageCp932);
    const std::string& Message() const { return message_; }
    const char* what() const noexcept override { return utf8_.c_str(); }

  private:
    std::string message_;
    std::string utf8_;
};

// Text that is no integer: "'%s' は整数ではありません".
class EConvertError : public Exception {
  public:
    explicit EConvertError(const std::string& textCp932);
};

// A list index out of range: "リストのインデックスが範囲を超えています (%d)".
class EStringListError : public Exception {
  public:
    explicit EStringListError(std::int32_t index);
};

// A write the system refused: "%s に書き込めません".
class EIniFileException : public Exception {
  public:
    explicit EIniFileException(const std::string& pathCp932);

  protected:
    struct WholeMessage {};
    EIniFileException(WholeMessage, std::string messageCp932)
        : Exception(std::move(messageCp932)) {}
};

// A write that found the file being written by another program for longer
// than it waits: "%s に書き込めません (他のプログラムが書き込み中です)".
class EIniFileLocked : public EIniFileException {
  public:
    explicit EIniFileLocked(const std::string& pathCp932);
};

// Text to integer: blanks skipped at the start, an optional "+" or "-", then
// decimal digits, or hexadecimal digits after "$" or "0x"; nothing may follow
// and the value must fit a signed 32-bit integer. Anything else raises
// EConvertError naming the text.
std::int32_t StrToInt(std::string_view text);

// The same rule without the exception: false when the text is no integer.
bool TryStrToInt(std::string_view text, std::int32_t& value);

// Plain decimal, with "-" before a negative number.
std::string IntToStr(std::int32_t value);

// A UTF-8 literal of the source as CP932 bytes.
std::string Cp932(std::string_view utf8);

}  // namespace framework
