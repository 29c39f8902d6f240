// Little-endian binary reading and writing. ByteReader knows how many bytes remain and
// refuses to read past the end, so every reader checks its bounds in one place.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

namespace mw {

class ByteReader {
  public:
    explicit ByteReader(std::string_view bytes) : data_(bytes) {}

    std::size_t position() const { return pos_; }
    std::size_t remaining() const { return data_.size() - pos_; }
    std::size_t size() const { return data_.size(); }

    // Each read returns false, and reads nothing, when too few bytes remain.
    bool read_u8(std::uint8_t& v) { return read_le(v); }
    bool read_u16(std::uint16_t& v) { return read_le(v); }
    bool read_i16(std::int16_t& v)
    {
        std::uint16_t u;
        if (!read_le(u))
            return false;
        v = static_cast<std::int16_t>(u);
        return true;
    }
    bool read_u32(std::uint32_t& v) { return read_le(v); }
    bool read_i32(std::int32_t& v)
    {
        std::uint32_t u;
        if (!read_le(u))
            return false;
        v = static_cast<std::int32_t>(u);
        return true;
    }
    bool read_f32(float& v)
    {
        std::uint32_t u;
        if (!read_le(u))
            return false;
        std::memcpy(&v, &u, 4);
        return true;
    }
    // `count` bytes as they are, one character per byte (no code-page conversion).
    bool read_fixed_string(std::size_t count, std::string& v)
    {
        if (remaining() < count)
            return false;
        v.assign(data_.data() + pos_, count);
        pos_ += count;
        return true;
    }
    // `count` little-endian values of 2 or 4 bytes into `out` (room for `count` values).
    // One memcpy on little-endian hosts, so large value lists load at the speed of the copy.
    template <typename T> bool read_array(T* out, std::size_t count)
    {
        static_assert(std::is_arithmetic_v<T> && (sizeof(T) == 2 || sizeof(T) == 4));
        if (count > remaining() / sizeof(T))
            return false;
        const char* src = data_.data() + pos_;
        if constexpr (std::endian::native == std::endian::little) {
            if (count != 0)
                std::memcpy(out, src, count * sizeof(T));
        } else {
            using U = std::conditional_t<sizeof(T) == 2, std::uint16_t, std::uint32_t>;
            for (std::size_t i = 0; i < count; ++i) {
                U u = 0;
                for (std::size_t b = 0; b < sizeof(T); ++b)
                    u = static_cast<U>(u |
                                       (static_cast<U>(static_cast<unsigned char>(src[i * sizeof(T) + b])) << (8 * b)));
                std::memcpy(out + i, &u, sizeof(T));
            }
        }
        pos_ += count * sizeof(T);
        return true;
    }
    bool skip(std::size_t count)
    {
        if (remaining() < count)
            return false;
        pos_ += count;
        return true;
    }
    // The next `count` bytes without copying; valid while the source bytes live.
    bool view(std::size_t count, std::string_view& v)
    {
        if (remaining() < count)
            return false;
        v = data_.substr(pos_, count);
        pos_ += count;
        return true;
    }

  private:
    template <typename T> bool read_le(T& v)
    {
        if (remaining() < sizeof(T))
            return false;
        T value = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i)
            value = static_cast<T>(value | (static_cast<T>(static_cast<unsigned char>(data_[pos_ + i])) << (8 * i)));
        v = value;
        pos_ += sizeof(T);
        return true;
    }

    std::string_view data_;
    std::size_t pos_ = 0;
};

class ByteWriter {
  public:
    void u8(std::uint8_t v) { out_.push_back(static_cast<char>(v)); }
    void u16(std::uint16_t v) { write_le(v); }
    void i16(std::int16_t v) { write_le(static_cast<std::uint16_t>(v)); }
    void u32(std::uint32_t v) { write_le(v); }
    void i32(std::int32_t v) { write_le(static_cast<std::uint32_t>(v)); }
    void f32(float v)
    {
        std::uint32_t u;
        std::memcpy(&u, &v, 4);
        write_le(u);
    }
    void bytes(std::string_view v) { out_.append(v); }
    // `count` values of 2 or 4 bytes, little-endian; one append on little-endian hosts.
    template <typename T> void array(const T* values, std::size_t count)
    {
        static_assert(std::is_arithmetic_v<T> && (sizeof(T) == 2 || sizeof(T) == 4));
        if constexpr (std::endian::native == std::endian::little) {
            if (count != 0)
                out_.append(reinterpret_cast<const char*>(values), count * sizeof(T));
        } else {
            using U = std::conditional_t<sizeof(T) == 2, std::uint16_t, std::uint32_t>;
            for (std::size_t i = 0; i < count; ++i) {
                U u;
                std::memcpy(&u, values + i, sizeof(T));
                write_le(u);
            }
        }
    }
    void reserve(std::size_t size) { out_.reserve(size); }

    std::string& buffer() { return out_; }
    const std::string& buffer() const { return out_; }
    std::string take() { return std::move(out_); }

  private:
    template <typename T> void write_le(T v)
    {
        char b[sizeof(T)];
        for (std::size_t i = 0; i < sizeof(T); ++i)
            b[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
        out_.append(b, sizeof(T));
    }

    std::string out_;
};

} // namespace mw
