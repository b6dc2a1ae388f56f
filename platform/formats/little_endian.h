// Little-endian numbers in outside bytes: every reader of this room takes its
// 16- and 32-bit fields here, and walks a stream of them with ByteReader,
// which never reads past the bytes it was given.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace platform::formats {

// The number at p; the caller has checked that the bytes are there.
constexpr std::uint16_t le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
constexpr std::uint32_t le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// Reads numbers one after another from a position that only moves forward
// or is set; has() says whether n more bytes are left.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool has(std::size_t n) const { return pos_ <= bytes_.size() && n <= bytes_.size() - pos_; }
    std::size_t pos() const { return pos_; }
    void seek(std::size_t pos) { pos_ = pos; }

    // The next 16- or 32-bit number; the caller has asked has() first.
    std::uint16_t word() {
        const std::uint16_t value = le16(bytes_.data() + pos_);
        pos_ += 2;
        return value;
    }
    std::uint32_t dword() {
        const std::uint32_t value = le32(bytes_.data() + pos_);
        pos_ += 4;
        return value;
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};

}  // namespace platform::formats
