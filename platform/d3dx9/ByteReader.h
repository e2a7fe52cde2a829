// ByteReader.h: little-endian reads from a file held in memory, never past its end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace platform::d3dx9 {

// A read that would pass the end yields 0 (or an empty span) and marks the reader failed for
// good, so a header can be read field by field and checked once with ok().
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::uint8_t u8() {
        const auto b = take(1);
        return b.empty() ? 0 : b[0];
    }
    std::uint16_t u16() {
        const auto b = take(2);
        return b.empty() ? 0 : static_cast<std::uint16_t>(b[0] | b[1] << 8);
    }
    std::uint32_t u32() {
        const auto b = take(4);
        return b.empty()
                   ? 0
                   : static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
                         static_cast<std::uint32_t>(b[2]) << 16 |
                         static_cast<std::uint32_t>(b[3]) << 24;
    }
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }

    std::span<const std::uint8_t> take(std::size_t count) {
        if (failed_ || count > remaining()) {
            failed_ = true;
            return {};
        }
        const auto part = bytes_.subspan(position_, count);
        position_ += count;
        return part;
    }
    void skip(std::size_t count) { take(count); }
    void seek(std::size_t offset) {
        if (offset > bytes_.size()) failed_ = true;
        if (!failed_) position_ = offset;
    }

    bool ok() const { return !failed_; }
    std::size_t position() const { return position_; }
    std::size_t remaining() const { return bytes_.size() - position_; }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
    bool failed_ = false;
};

}  // namespace platform::d3dx9
