// Hand-written GMDC bytes for tests: each field appended little-endian, so a test states
// a file's layout field by field, independent of the writer under test.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace mw::test {

class GmdcBytes {
  public:
    GmdcBytes& u8(std::uint8_t v) { return le(v, 1); }
    GmdcBytes& u16(std::uint16_t v) { return le(v, 2); }
    GmdcBytes& i16(std::int16_t v) { return le(static_cast<std::uint16_t>(v), 2); }
    GmdcBytes& u32(std::uint32_t v) { return le(v, 4); }
    GmdcBytes& i32(std::int32_t v) { return le(static_cast<std::uint32_t>(v), 4); }
    GmdcBytes& f32(float v)
    {
        std::uint32_t u;
        std::memcpy(&u, &v, 4);
        return le(u, 4);
    }
    // A CountedString: one length byte, then the text.
    GmdcBytes& name(std::string_view s)
    {
        u8(static_cast<std::uint8_t>(s.size()));
        bytes_.append(s);
        return *this;
    }
    GmdcBytes& raw(std::string_view s)
    {
        bytes_.append(s);
        return *this;
    }

    // The 16-byte container header and the resource header of a GMDC of `version`.
    GmdcBytes& headers(std::uint32_t version = 4, std::string_view fileName = "Custom_object",
                       std::string_view blockName = "cGeometryDataContainer")
    {
        u16(1).u16(0xFFFF).u32(0).u32(1).u32(0xAC4F8687);
        name(blockName).u32(0xAC4F8687).u32(version);
        name("cSGResource").u32(0).u32(2);
        return name(fileName);
    }

    std::size_t size() const { return bytes_.size(); }
    const std::string& str() const { return bytes_; }

  private:
    GmdcBytes& le(std::uint64_t v, int n)
    {
        for (int i = 0; i < n; ++i)
            bytes_.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
        return *this;
    }

    std::string bytes_;
};

} // namespace mw::test
