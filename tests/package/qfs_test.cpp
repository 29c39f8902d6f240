// QFS: hand-encoded streams decode as the control codes say, damaged streams are
// refused, and compress -> decompress gives back generated data and every fixture.
#include "package/qfs.h"
#include "support/package_builder.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace mw {
namespace {

using namespace std::string_literals;

// Stored size field (the stream's size plus `skew`), signature and 3-byte size, then `codes`.
std::string stream(std::uint32_t statedSize, const std::string& codes, std::size_t skew = 0)
{
    std::string s(4, '\0');
    s += "\x10\xFB";
    for (const int shift : {16, 8, 0})
        s.push_back(static_cast<char>(statedSize >> shift));
    s += codes;
    test::set_u32(s, 0, static_cast<std::uint32_t>(s.size() + skew));
    return s;
}

struct DecodeCase {
    const char* name;
    std::uint32_t stated;
    std::string codes;
    std::string expected; // the bytes; for a refused stream, part of the message
    bool refused = false;
    std::size_t skew = 0;
};

// Control codes: 0xE0 is a run of four literals, 0xFC the end; a copy's bits give its
// length and how far back it reaches.
const DecodeCase kDecodeCases[] = {
    {"short_copy", 7, "\xE0wxyz\x00\x03\xFC"s, "wxyzwxy"},
    {"overlapping_copy", 14, "\xE0wxyz\x1C\x00\xFC"s, "wxyzzzzzzzzzzz"},
    {"medium_copy_with_literal", 9, "\xE0wxyz\x80\x40\x03q\xFC"s, "wxyzqxyzq"},
    {"long_copy_with_literals", 11, "\xE0wxyz\xC2\x00\x03\x00uv\xFC"s, "wxyzuvyzuvy"},
    {"stop_with_literals", 3, "\xFFxyz", "xyz"},
    {"reaches_before_start", 7, "\xE0wxyz\x00\x04\xFC"s, "refers 5 bytes back at byte 4", true},
    {"more_than_stated", 3, "\xE0wxyz\xFC", "more than the 3 bytes", true},
    {"ends_in_literal_run", 4, "\xE0wx", "literal run", true},
    {"fewer_than_stated", 10, "\xE0wxyz\xFC", "yields 4 bytes", true},
    {"stored_size_beyond_the_bytes", 3, "\xFFxyz", "claims", true, 1},
};

class QfsDecode : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(QfsDecode, FollowsTheControlCodes)
{
    const DecodeCase& c = GetParam();
    std::string out, error;
    ASSERT_EQ(qfsDecompress(stream(c.stated, c.codes, c.skew), out, error), !c.refused) << error;
    if (c.refused)
        EXPECT_NE(error.find(c.expected), std::string::npos) << error;
    else
        EXPECT_EQ(out, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Streams, QfsDecode, ::testing::ValuesIn(kDecodeCases),
                         [](const auto& p) { return std::string(p.param.name); });

// `n` bytes repeating a block of `period` random bytes.
std::string periodic(std::size_t n, std::size_t period, std::uint64_t seed)
{
    std::string s(n, '\0');
    for (std::size_t i = 0; i < n; ++i) {
        seed = seed * 6364136223846793005u + 1442695040888963407u;
        s[i] = i < period ? static_cast<char>(seed >> 56) : s[i - period];
    }
    return s;
}

void expect_round_trip(const std::string& data, const std::string& what)
{
    const std::string packed = qfsCompress(data);
    std::string back, error;
    ASSERT_TRUE(qfsDecompress(packed, back, error)) << what << ": " << error;
    EXPECT_TRUE(back == data) << what;
}

TEST(Qfs, RoundTripsGeneratedDataAndEveryFixtureFile)
{
    const std::pair<const char*, std::string> cases[] = {
        {"empty", ""},
        {"one byte", "a"},
        {"three bytes", "abc"},
        {"zeros", std::string(1 << 20, '\0')},
        {"random", periodic(200000, 200000, 1)},
        {"period 500 (short and medium copies)", periodic(150000, 500, 2)},
        {"period 20000 (long copies)", periodic(160000, 20000, 3)},
        {"period 140000 (beyond the window)", periodic(280000, 140000, 4)},
        {"largest size", periodic(kQfsMaxSize, 8192, 5)},
    };
    for (const auto& [name, data] : cases)
        expect_round_trip(data, name);
    // 1 MiB of zeros is about a thousand longest copies of four bytes each.
    EXPECT_LT(qfsCompress(std::string(1 << 20, '\0')).size(), 8000u);
    if (const std::string dir = test::fixtures_dir(); !dir.empty())
        for (const char* name : {"adult_body.5gd", "teapot.5gd", "teapot_model.package"})
            expect_round_trip(test::read_file(dir + "/gmdc/" + name), name);
}

} // namespace
} // namespace mw
