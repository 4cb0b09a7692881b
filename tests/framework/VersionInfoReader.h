// The version information read as the About window reads it: a test's view
// of GetFileVersionInfoSizeA, GetFileVersionInfoA and VerQueryValueA.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/VersionResource.h"

namespace versiontest {

// Version information read the way the About window reads it.
class Info {
  public:
    explicit Info(const std::string& path) {
        std::uint32_t handle = 77;
        size_ = framework::GetFileVersionInfoSizeA(path, &handle);
        EXPECT_EQ(handle, 0u);
        buffer_.assign(size_ + 16, 0xCD);  // a guard area after the buffer
        if (size_ > 0) ok_ = framework::GetFileVersionInfoA(path, 0, size_, buffer_.data());
    }
    std::uint32_t size() const { return size_; }
    bool ok() const { return ok_; }

    // The raw answer of VerQueryValueA, checked to lie inside the buffer.
    bool Query(const std::string& path, std::string& value) {
        const void* p = reinterpret_cast<const void*>(1);
        std::uint32_t len = 99;
        const bool found = framework::VerQueryValueA(buffer_.data(), path, &p, &len);
        value.clear();
        if (!found) {
            EXPECT_EQ(p, nullptr) << path;
            EXPECT_EQ(len, 0u) << path;
            return false;
        }
        const auto* at = static_cast<const std::uint8_t*>(p);
        EXPECT_GE(at, buffer_.data()) << path;
        EXPECT_LE(at + len, buffer_.data() + size_) << path;
        if (at >= buffer_.data() && at + len <= buffer_.data() + size_) {
            value.assign(reinterpret_cast<const char*>(at), len);
        }
        return true;
    }
    // A text value as the program uses it: the bytes before the first NUL.
    std::string String(const std::string& path) {
        std::string value;
        if (!Query(path, value)) return "<none>";
        return value.substr(0, value.find('\0'));
    }
    const std::uint8_t* data() const { return buffer_.data(); }
    bool GuardIntact() const {
        for (std::size_t i = size_; i < buffer_.size(); ++i) {
            if (buffer_[i] != 0xCD) return false;
        }
        return true;
    }

  private:
    std::uint32_t size_ = 0;
    bool ok_ = false;
    std::vector<std::uint8_t> buffer_;
};

// ホロンパ in code page 932.
inline const std::string kHoronpaCp932 = "\x83\x7A\x83\x8D\x83\x93\x83\x70";

}  // namespace versiontest
