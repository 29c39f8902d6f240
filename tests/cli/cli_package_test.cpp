// Packages on the command line: every command that reads a GMDC reads it from a package,
// and one that saves into OUT.package gives the same GMDC bytes as into OUT.5gd while
// every other resource keeps its stored bytes.
#include "package/package.h"
#include "support/cli_files.h"
#include "support/cli_run.h"
#include "support/package_builder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace mw::test {
namespace {

// A package holding `gmdcs` (compressed) after a plain shape resource.
std::string package_of(const std::vector<std::string>& gmdcs)
{
    std::vector<BuiltResource> resources = {{kTypeShpe, 0x1C050000, 1, 0, "a shape resource", false}};
    for (std::size_t k = 0; k < gmdcs.size(); ++k)
        resources.push_back({kTypeGmdc, 0x1C050000, static_cast<std::uint32_t>(2 + k), 0, gmdcs[k], true});
    return build_package(resources, true);
}

Package read(const std::string& path)
{
    Package p;
    std::string error;
    EXPECT_TRUE(readPackage(path, p, error)) << error;
    return p;
}

TEST(CliPackage, SavingIntoThePackageEqualsSavingTheGmdc)
{
    CliFiles f;
    write_file(f("p.package"), package_of({read_file(f("body.5gd"))}));
    const Package before = read(f("p.package"));
    ASSERT_EQ(cli({"merge", f("top.obj"), f("body.5gd"), "-o", f("out.5gd")}).status, 0);
    // Written over the package it edits.
    const CliRun packed = cli({"merge", f("top.obj"), f("p.package"), "-o", f("p.package")});
    ASSERT_EQ(packed.status, 0) << packed.err;
    const Package after = read(f("p.package"));
    ASSERT_EQ(after.resources.size(), 3u);
    EXPECT_EQ(storedBytes(after, 0), storedBytes(before, 0));
    EXPECT_TRUE(after.resources[1].compressed);
    std::string gmdc, error;
    EXPECT_TRUE(resourceBytes(after, 1, gmdc, error)) << error;
    EXPECT_TRUE(gmdc == read_file(f("out.5gd")));
}

TEST(CliPackage, ReadingCommandsTakeAPackageAndInfoListsIt)
{
    CliFiles f;
    write_file(f("two.package"), package_of({read_file(f("static.5gd")), read_file(f("body.5gd"))}));
    ASSERT_EQ(cli({"to-obj", f("body.5gd"), "-o", f("a.obj")}).status, 0);
    const CliRun r = cli({"to-obj", f("two.package"), "--resource", "3", "-o", f("b.obj")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(read_file(f("a.obj")), read_file(f("b.obj")));
    const nlohmann::json j = nlohmann::json::parse(cli({"info", "--json", f("two.package")}).out);
    ASSERT_EQ(j["resources"].size(), 4u); // the DIR last
    EXPECT_EQ(j["gmdcResources"][1]["gmdc"]["dataListCount"], 14);

    // Refused: two GMDCs and no --resource, a resource that is no GMDC, saving a new package.
    const CliRun several = cli({"to-obj", f("two.package"), "-o", f("x.obj")});
    EXPECT_EQ(several.status, 1);
    EXPECT_NE(several.err.find("--resource"), std::string::npos) << several.err;
    EXPECT_EQ(cli({"to-obj", f("two.package"), "--resource", "1", "-o", f("x.obj")}).status, 1);
    EXPECT_EQ(cli({"resave", f("body.5gd"), f("x.package")}).status, 1);
    EXPECT_FALSE(file_exists(f("x.obj")) || file_exists(f("x.package")));
}

} // namespace
} // namespace mw::test
