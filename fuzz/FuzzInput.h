// Takes a fuzzer's bytes apart into the arguments of the code under test.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace fuzzing {

class Input {
  public:
    Input(const std::uint8_t* data, std::size_t size)
        : rest_(reinterpret_cast<const char*>(data), size) {}

    // One byte (0 when none is left).
    std::uint8_t Byte() {
        if (rest_.empty()) return 0;
        auto b = static_cast<std::uint8_t>(rest_.front());
        rest_.remove_prefix(1);
        return b;
    }
    // A 32-bit value from four bytes.
    std::int32_t Int32() {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v = v << 8 | Byte();
        return static_cast<std::int32_t>(v);
    }
    // The bytes up to the next `separator` (or all that are left).
    std::string Part(char separator = '\x1F') {
        std::size_t at = rest_.find(separator);
        std::string part(rest_.substr(0, at));
        rest_.remove_prefix(at == std::string_view::npos ? rest_.size() : at + 1);
        return part;
    }
    std::string Rest() {
        std::string all(rest_);
        rest_ = {};
        return all;
    }

  private:
    std::string_view rest_;
};

// Stops the run on a broken property, so that libFuzzer keeps the input.
inline void Check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace fuzzing
