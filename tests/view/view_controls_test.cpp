#include "view/view_controls.h"

#include <gtest/gtest.h>

namespace mw {
namespace {

TEST(ViewControls, InAndOutStopAtTheirLimits)
{
    float d = -3.5f;
    for (int i = 0; i < 100; ++i)
        d = step_in(d);
    EXPECT_EQ(d, -0.5f);
    EXPECT_EQ(step_in(-0.5f), -0.5f);
    for (int i = 0; i < 200; ++i)
        d = step_out(d);
    EXPECT_EQ(d, -7.5f);
    EXPECT_NEAR(step_out(-3.5f), -3.55f, 1e-6);
}

TEST(ViewControls, SubgroupTextHasALeadingSpaceWhenNotNegative)
{
    EXPECT_EQ(subgroup_text(3), " 3");
    EXPECT_EQ(subgroup_text(0), " 0");
    EXPECT_EQ(subgroup_text(-2), "-2");
}

TEST(ViewControls, CommitReadsTheLeadingNumber)
{
    const struct {
        const char* text;
        std::optional<std::int16_t> value;
    } cases[] = {{"", 0},
                 {" 3", 3},
                 {"2.5", 2},
                 {"3.5", 4},
                 {"-1.5", -2},
                 {"7abc", 7},
                 {"1,5", 1},
                 {"x9", 0},
                 {"1e2", 100},
                 {"4e", 4},
                 {"+12", 12},
                 {"32767", 32767},
                 {"-32768", -32768},
                 {"40000", std::nullopt},
                 {"1e9", std::nullopt}};
    for (const auto& c : cases)
        EXPECT_EQ(commit_number(c.text), c.value) << c.text;
}

} // namespace
} // namespace mw
