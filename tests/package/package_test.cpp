// Packages: the fixture package, packages built here (plain and compressed, with and
// without instance-high), the copy with replaced resources, and every damaged layout.
#include "checks/package_checks.h"
#include "package/package.h"
#include "support/package_builder.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <functional>

namespace mw {
namespace {

using test::build_package;
using test::get_u32;
using test::set_u32;

const std::string kPlain = "a plain resource: twenty bytes and more";
const std::string kSquashed = std::string(3000, 'g') + "geometry" + std::string(500, 'h');

std::vector<test::BuiltResource> two_resources()
{
    return {{kTypeShpe, 0x1C050000, 7, 0x11, kPlain, false}, {kTypeGmdc, 0x1C050000, 8, 0x22, kSquashed, true}};
}

Package parse(const std::string& bytes)
{
    Package p;
    std::string error;
    EXPECT_TRUE(parsePackage(bytes, p, error, "built.package")) << error;
    return p;
}

std::string bytes_of(const Package& p, std::size_t i)
{
    std::string out, error;
    EXPECT_TRUE(resourceBytes(p, i, out, error)) << error;
    return out;
}

TEST(Package, ReadsTheFixturePackage)
{
    const std::string dir = test::fixtures_dir();
    if (dir.empty())
        GTEST_SKIP() << "no fixtures folder";
    // The checks copy it with its first resource, the GMDC, replaced: the others keep their bytes.
    const std::string bytes = test::read_file(dir + "/gmdc/teapot_model.package");
    EXPECT_EQ(fuzz::check_package(bytes), "");
    const Package p = parse(bytes);
    EXPECT_TRUE(p.hasInstanceHigh);
    EXPECT_EQ(p.dirIndex, -1);
    std::multiset<std::uint32_t> types;
    for (const PackageResource& r : p.resources)
        types.insert(r.type);
    EXPECT_EQ(types, (std::multiset<std::uint32_t>{kTypeGmdc, kTypeGmnd, kTypeShpe, kTypeCres}));
    const auto gmdc = resourcesOfType(p, kTypeGmdc);
    ASSERT_EQ(gmdc.size(), 1u);
    EXPECT_TRUE(bytes_of(p, gmdc[0]) == test::read_file(dir + "/gmdc/teapot.5gd"));
}

class BuiltPackage : public ::testing::TestWithParam<bool> {};

TEST_P(BuiltPackage, ReadsBackAndReplacesAResourceKeepingItsCompression)
{
    auto resources = two_resources(); // and two more of the same key
    resources.push_back({kTypeGmdc, 0x1C050000, 8, 0x22, "the same key, other bytes", false});
    resources.push_back({kTypeGmdc, 0x1C050000, 8, 0x22, kSquashed + "!", true});
    const std::string original = build_package(resources, GetParam());
    EXPECT_EQ(fuzz::check_package(original), "");
    const Package p = parse(original);
    ASSERT_EQ(p.resources.size(), 5u);
    EXPECT_EQ(p.dirIndex, 4);
    EXPECT_TRUE(!p.resources[0].compressed && p.resources[1].compressed);
    EXPECT_EQ(p.resources[1].uncompressedSize, kSquashed.size());
    EXPECT_LT(p.resources[1].storedSize, kSquashed.size() / 10);
    EXPECT_EQ(p.resources[1].instanceHigh, GetParam() ? 0x22u : 0u);
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(bytes_of(p, i), resources[i].bytes) << i;

    std::string with_hole = original; // one hole record after the index, then the hole
    set_u32(with_hole, 48, 1);
    set_u32(with_hole, 52, static_cast<std::uint32_t>(original.size()));
    set_u32(with_hole, 56, 8);
    test::put_u32(with_hole, static_cast<std::uint32_t>(original.size() + 8));
    test::put_u32(with_hole, 8);
    with_hole += "deadbeef";
    const std::string edited = std::string(2000, 'e') + "edited";
    std::string out, error;
    ASSERT_TRUE(serializePackage(parse(with_hole), {{1, edited}}, out, error)) << error;
    const Package q = parse(out);
    ASSERT_EQ(q.resources.size(), 5u);
    EXPECT_EQ(storedBytes(q, 0), storedBytes(p, 0));
    EXPECT_TRUE(q.resources[1].compressed);
    EXPECT_EQ(bytes_of(q, 1), edited);
    EXPECT_EQ(out.substr(0, 36), original.substr(0, 36));
    EXPECT_EQ(out.substr(60, 36), original.substr(60, 36));
    for (std::size_t field : {48u, 52u, 56u})
        EXPECT_EQ(get_u32(out, field), 0u) << field;
    EXPECT_EQ(out.find("deadbeef"), std::string::npos);

    // Too large for QFS: stored plain, and the DIR lists only the other compressed one.
    const std::string huge(kQfsMaxSize + 1, 'z');
    ASSERT_TRUE(serializePackage(p, {{1, huge}}, out, error)) << error;
    const Package r = parse(out);
    EXPECT_TRUE(!r.resources[1].compressed && r.resources[1].storedSize == huge.size());
    EXPECT_EQ(r.resources.at(4).storedSize, GetParam() ? 20u : 16u);
}

INSTANTIATE_TEST_SUITE_P(InstanceHigh, BuiltPackage, ::testing::Bool());

struct Damage {
    const char* name;
    std::function<void(std::string&)> apply;
    const char* said; // part of the message
};

// Layout of the built package: header, resource 1 (plain) at 96, resource 2 (QFS),
// the DIR (resource 3), then the index of 24-byte entries.
std::size_t entry(const std::string& f, std::size_t i)
{
    return get_u32(f, 40) + 24 * i;
}

const Damage kDamages[] = {
    {"truncated_header", [](std::string& f) { f.resize(60); }, "truncated"},
    {"not_a_package", [](std::string& f) { f[0] = 'X'; }, "DBPF"},
    {"index_past_the_end", [](std::string& f) { set_u32(f, 40, static_cast<std::uint32_t>(f.size() - 30)); }, "index"},
    {"truncated_index", [](std::string& f) { f.resize(f.size() - 1); }, "index"},
    {"index_over_the_header", [](std::string& f) { set_u32(f, 40, 8); }, "entries at byte 8"},
    {"hole_index_past_the_end",
     [](std::string& f) {
         set_u32(f, 48, 2);
         set_u32(f, 52, static_cast<std::uint32_t>(f.size() - 8));
     },
     "hole index"},
    {"hole_outside_the_file",
     [](std::string& f) {
         set_u32(f, 48, 1);
         set_u32(f, 52, static_cast<std::uint32_t>(f.size()));
         test::put_u32(f, static_cast<std::uint32_t>(f.size() + 100));
         test::put_u32(f, 8);
     },
     "hole 1"},
    {"entry_outside_the_file", [](std::string& f) { set_u32(f, entry(f, 0) + 20, 1u << 20); }, "resource 1"},
    {"entry_over_the_header", [](std::string& f) { set_u32(f, entry(f, 0) + 16, 40); }, "resource 1"},
    {"entry_over_the_index",
     [](std::string& f) { set_u32(f, entry(f, 0) + 16, static_cast<std::uint32_t>(entry(f, 0) - 4)); }, "resource 1"},
    {"dir_outside_the_file", [](std::string& f) { set_u32(f, entry(f, 2) + 20, 1u << 20); }, "resource 3"},
    {"qfs_claims_more_than_stored",
     [](std::string& f) { set_u32(f, get_u32(f, entry(f, 1) + 16), get_u32(f, entry(f, 1) + 20) + 10); }, "resource 2"},
    {"qfs_stream_cut_short",
     [](std::string& f) {
         const std::uint32_t size = get_u32(f, entry(f, 1) + 20) - 6;
         set_u32(f, entry(f, 1) + 20, size);
         set_u32(f, get_u32(f, entry(f, 1) + 16), size);
     },
     "resource 2"},
    {"dir_disagrees_on_size",
     [](std::string& f) {
         const std::size_t record = get_u32(f, entry(f, 2) + 16);
         set_u32(f, record + 16, get_u32(f, record + 16) + 1);
     },
     "directory"},
};

class DamagedPackage : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedPackage, IsRefusedNamingThePackageAndTheResource)
{
    std::string bytes = build_package(two_resources(), true);
    GetParam().apply(bytes);
    Package p;
    std::string error;
    EXPECT_FALSE(parsePackage(bytes, p, error, "damaged.package"));
    EXPECT_EQ(error.rfind("damaged.package: ", 0), 0u) << error;
    EXPECT_NE(error.find(GetParam().said), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(Layouts, DamagedPackage, ::testing::ValuesIn(kDamages),
                         [](const auto& p) { return std::string(p.param.name); });

} // namespace
} // namespace mw
