// The operating-system layer: which two paths name one file.
#include "core/platform.h"
#include "support/test_support.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace mw;

TEST(Platform, SameFileSeesThroughSpellingsAndLinks)
{
    namespace fs = std::filesystem;
    test::TempDir dir;
    test::write_file(dir.file("f"), "same bytes");
    test::write_file(dir.file("g"), "same bytes");
    fs::create_hard_link(dir.file("f"), dir.file("hard"));
    std::error_code noLinks;
    fs::create_symlink(dir.file("f"), dir.file("soft"), noLinks); // needs a privilege on Windows

    const struct {
        const char* other;
        bool same;
    } cases[] = {{"f", true}, {"./f", true}, {"hard", true}, {"g", false}, {"missing", false}, {"soft", true}};
    for (const auto& c : cases) {
        if (noLinks && std::string(c.other) == "soft")
            continue;
        EXPECT_EQ(platform::same_file(dir.file("f"), dir.file(c.other)), c.same) << c.other;
    }
}
