// meshwright-cli info and resave on GMDC files, run as a separate process.
#include "gmdc/gmdc_test_util.h"
#include "support/gmdc_builders.h"
#include "support/json_check.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/wait.h>

namespace mw::test {
namespace {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs meshwright-cli with `args` (already quoted for the shell).
CliRun cli(const std::string& args)
{
    TempDir dir;
    const std::string command =
        std::string("'") + MESHWRIGHT_CLI_PATH + "' " + args + " 2>'" + dir.file("stderr") + "'";
    CliRun run;
    std::FILE* p = ::popen(command.c_str(), "r");
    if (p == nullptr)
        return run;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0)
        run.out.append(buffer, n);
    const int status = ::pclose(p);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = read_file(dir.file("stderr"));
    return run;
}

std::string quote(const std::string& s)
{
    return "'" + s + "'";
}

class CliGmdc : public ::testing::Test {
  protected:
    void SetUp() override { write_file(body_, serialized(make_body_mesh())); }
    TempDir dir_;
    std::string body_ = dir_.file("body.5gd");
};

TEST_F(CliGmdc, InfoText)
{
    const CliRun r = cli("info " + quote(body_));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.err.empty()) << r.err;
    for (const char* part : {"blockVersion 4", "Data lists: 14", "identity 0xFBD70111 (bone assignments)",
                             "Datalist #7:", "Object #1 \"body\"", "faceCount 18 (6 triangles)", "blockBCount 40",
                             "transformCount 65", "P5 sec #2: vertexCount 0, faceCount 0"})
        EXPECT_NE(r.out.find(part), std::string::npos) << part << "\n" << r.out;
}

TEST_F(CliGmdc, InfoJson)
{
    const CliRun r = cli("info --json " + quote(body_));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(JsonCheck::valid(r.out)) << r.out;
    for (const char* key :
         {"\"dataLists\":[", "\"recordCount\":12", "\"identity\":4225171729", "\"identityHex\":\"0xFBD70111\"",
          "\"objectGroups\":[", "\"dataListIndices\":[0,1,2", "\"objects\":[", "\"name\":\"body\"", "\"faceCount\":18",
          "\"blockVersion\":4", "\"transformCount\":65", "\"p5Entries\":["})
        EXPECT_NE(r.out.find(key), std::string::npos) << key;
}

TEST_F(CliGmdc, InfoFailures)
{
    CliRun r = cli("info " + quote(dir_.file("missing.5gd")));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(dir_.file("missing.5gd")), std::string::npos) << r.err;

    write_file(dir_.file("cut.5gd"), serialized(make_body_mesh()).substr(0, 500));
    r = cli("info " + quote(dir_.file("cut.5gd")));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("is truncated at byte 500"), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty());

    EXPECT_EQ(cli("info").status, 2);
    EXPECT_EQ(cli("info " + quote(body_) + " " + quote(body_)).status, 2);
    EXPECT_EQ(cli("info --bogus " + quote(body_)).status, 2);
}

TEST_F(CliGmdc, Help)
{
    EXPECT_EQ(cli("--help").status, 0);
    for (const char* command : {"info", "resave"}) {
        const CliRun r = cli(std::string(command) + " --help");
        EXPECT_EQ(r.status, 0);
        EXPECT_NE(r.out.find(std::string("Usage: meshwright-cli ") + command), std::string::npos) << r.out;
    }
    EXPECT_EQ(cli("").status, 2);
    EXPECT_EQ(cli("no-such-command").status, 2);
}

TEST_F(CliGmdc, Resave)
{
    const std::string out = dir_.file("out.5gd");
    CliRun r = cli("resave " + quote(body_) + " " + quote(out));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Save Complete\n");
    const std::string source = read_file(body_);
    EXPECT_EQ(read_file(out), padded_copy(source, data_list_offset(source, 0)));

    r = cli("resave " + quote(body_) + " " + quote(dir_.file("no/such/folder.5gd")));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(dir_.file("no/such/folder.5gd")), std::string::npos) << r.err;
    EXPECT_EQ(r.out.find("Save Complete"), std::string::npos);

    EXPECT_EQ(cli("resave " + quote(body_)).status, 2);
}

} // namespace
} // namespace mw::test
