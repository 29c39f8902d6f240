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

const std::string kShape = "a shape resource beside the GMDC";

// A package holding `gmdcs` (compressed) after a plain shape resource.
std::string package_of(const std::vector<std::string>& gmdcs)
{
    std::vector<BuiltResource> resources = {{kTypeShpe, 0x1C050000, 1, 0, kShape, false}};
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

std::string resource(const Package& p, std::size_t i)
{
    std::string out, error;
    EXPECT_TRUE(resourceBytes(p, i, out, error)) << error;
    return out;
}

CliRun run(const CliFiles& f, std::vector<std::string> args, const std::string& in, const std::string& out)
{
    std::string line;
    for (const std::string& a : args)
        line += " " + quote(a == "IN" ? in : a == "OUT" ? out : a.find('.') != std::string::npos ? f(a) : a);
    return cli(line);
}

TEST(CliPackage, SavingIntoThePackageEqualsSavingTheGmdc)
{
    const std::vector<std::vector<std::string>> commands = {
        {"merge", "top.obj", "IN", "-o", "OUT"},
        {"replace", "top.obj", "IN", "-o", "OUT", "--assign", "body=1:3"},
        {"resave", "IN", "OUT"},
    };
    for (const auto& args : commands) {
        CliFiles f;
        write_file(f("p.package"), package_of({read_file(f("body.5gd"))}));
        const Package before = read(f("p.package"));
        const CliRun plain = run(f, args, f("body.5gd"), f("out.5gd"));
        ASSERT_EQ(plain.status, 0) << args[0] << plain.err;
        // Written over the package it edits.
        const CliRun packed = run(f, args, f("p.package"), f("p.package"));
        ASSERT_EQ(packed.status, 0) << args[0] << packed.err;
        const Package after = read(f("p.package"));
        ASSERT_EQ(after.resources.size(), 3u);
        EXPECT_EQ(storedBytes(after, 0), storedBytes(before, 0)) << args[0];
        EXPECT_TRUE(after.resources[1].compressed) << args[0];
        EXPECT_TRUE(resource(after, 1) == read_file(f("out.5gd"))) << args[0];
    }
}

TEST(CliPackage, ReadingCommandsTakeAPackage)
{
    const std::vector<std::vector<std::string>> commands = {
        {"to-obj", "IN", "-o", "OUT"},
        {"export-smd", "IN", "--index", "1", "-o", "OUT"},
    };
    for (const auto& args : commands) {
        CliFiles f;
        write_file(f("p.package"), package_of({read_file(f("static.5gd")), read_file(f("body.5gd"))}));
        ASSERT_EQ(run(f, args, f("body.5gd"), f("a.out")).status, 0) << args[0];
        std::vector<std::string> picked = args;
        picked.insert(picked.end(), {"--resource", "3"});
        const CliRun r = run(f, picked, f("p.package"), f("b.out"));
        ASSERT_EQ(r.status, 0) << args[0] << r.err;
        EXPECT_EQ(read_file(f("a.out")), read_file(f("b.out"))) << args[0];
    }
}

TEST(CliPackage, RefusesWhatItCannotDo)
{
    CliFiles f;
    write_file(f("two.package"), package_of({read_file(f("static.5gd")), read_file(f("body.5gd"))}));
    const CliRun several = cli({"to-obj", f("two.package"), "-o", f("x.obj")});
    EXPECT_EQ(several.status, 1);
    EXPECT_NE(several.err.find("--resource"), std::string::npos) << several.err;
    for (const char* listed : {"resource 2 (GMDC", "resource 3 (GMDC"})
        EXPECT_NE(several.err.find(listed), std::string::npos) << several.err;
    const CliRun notGmdc = cli({"to-obj", f("two.package"), "--resource", "1", "-o", f("x.obj")});
    EXPECT_EQ(notGmdc.status, 1);
    const CliRun gmdcIntoPackage = cli({"resave", f("body.5gd"), f("x.package")});
    EXPECT_EQ(gmdcIntoPackage.status, 1);
    EXPECT_FALSE(file_exists(f("x.obj")) || file_exists(f("x.package")));
}

TEST(CliPackage, InfoListsResourcesThenEachGmdc)
{
    CliFiles f;
    write_file(f("two.package"), package_of({read_file(f("static.5gd")), read_file(f("body.5gd"))}));
    const CliRun text = cli({"info", f("two.package")});
    for (const char* part : {"4 resources", "SHPE 0xFC6EB1F7", "GMDC 0xAC4F8687", "resource 3 (GMDC", "Data lists: 14"})
        EXPECT_NE(text.out.find(part), std::string::npos) << part << "\n" << text.out;

    const CliRun r = cli({"info", "--json", f("two.package")});
    EXPECT_EQ(r.status, 0) << r.err;
    const nlohmann::json j = nlohmann::json::parse(r.out);
    ASSERT_EQ(j["resources"].size(), 4u); // the DIR last
    EXPECT_EQ(j["resources"][0]["storedSize"], kShape.size());
    EXPECT_EQ(j["resources"][2]["compressed"], true);
    EXPECT_EQ(j["resources"][2]["uncompressedSize"], read_file(f("body.5gd")).size());
    ASSERT_EQ(j["gmdcResources"].size(), 2u);
    EXPECT_EQ(j["gmdcResources"][1]["number"], 3);
    EXPECT_EQ(j["gmdcResources"][1]["gmdc"]["dataListCount"], 14);
}

TEST(CliPackage, InfoOnTheFixturePackage)
{
    const std::string dir = fixtures_dir();
    if (dir.empty())
        GTEST_SKIP() << "no fixtures folder";
    const CliRun r = cli({"info", "--json", dir + "/gmdc/teapot_model.package"});
    ASSERT_EQ(r.status, 0) << r.err;
    const nlohmann::json j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["resources"].size(), 4u);
    ASSERT_EQ(j["gmdcResources"].size(), 1u);
    EXPECT_EQ(j["gmdcResources"][0]["gmdc"]["objects"][0]["name"], "teapot");
}

} // namespace
} // namespace mw::test
