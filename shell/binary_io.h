#pragma once
// Little-endian encoding of the binary user files, and a reader that never
// reads past the end of its buffer: every read reports whether the bytes
// were there.
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace vx {

class ByteWriter {
public:
    void u8(std::uint8_t b) { bytes_.push_back(static_cast<char>(b)); }
    void i32(std::int32_t v) {
        auto u = static_cast<std::uint32_t>(v);
        for (int k = 0; k < 4; ++k) u8(static_cast<std::uint8_t>(u >> (8 * k)));
    }
    void f64(double v) {
        auto u = std::bit_cast<std::uint64_t>(v);
        for (int k = 0; k < 8; ++k) u8(static_cast<std::uint8_t>(u >> (8 * k)));
    }
    // The name's bytes and a terminating zero.
    void name(std::string_view s) {
        bytes_.append(s);
        u8(0);
    }
    const std::string& bytes() const { return bytes_; }
    std::string take() { return std::move(bytes_); }

private:
    std::string bytes_;
};

class ByteReader {
public:
    explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}

    bool atEnd() const { return pos_ >= bytes_.size(); }
    size_t remaining() const { return bytes_.size() - pos_; }

    bool u8(std::uint8_t& out) {
        if (remaining() < 1) return false;
        out = static_cast<std::uint8_t>(bytes_[pos_++]);
        return true;
    }
    bool i32(std::int32_t& out) {
        if (remaining() < 4) return false;
        std::uint32_t u = 0;
        for (int k = 0; k < 4; ++k) u |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes_[pos_ + k])) << (8 * k);
        pos_ += 4;
        out = static_cast<std::int32_t>(u);
        return true;
    }
    bool f64(double& out) {
        if (remaining() < 8) return false;
        std::uint64_t u = 0;
        for (int k = 0; k < 8; ++k) u |= static_cast<std::uint64_t>(static_cast<std::uint8_t>(bytes_[pos_ + k])) << (8 * k);
        pos_ += 8;
        out = std::bit_cast<double>(u);
        return true;
    }

    enum class NameResult { Ok, Truncated, TooLong };
    // A zero-terminated name of at most maxLength bytes (the zero excluded).
    NameResult name(std::string& out, size_t maxLength) {
        size_t end = bytes_.find('\0', pos_);
        if (end == std::string_view::npos) {
            return remaining() > maxLength ? NameResult::TooLong : NameResult::Truncated;
        }
        if (end - pos_ > maxLength) return NameResult::TooLong;
        out.assign(bytes_.substr(pos_, end - pos_));
        pos_ = end + 1;
        return NameResult::Ok;
    }

private:
    std::string_view bytes_;
    size_t pos_ = 0;
};

}  // namespace vx
