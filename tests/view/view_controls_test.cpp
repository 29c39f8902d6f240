#include "view/view_controls.h"

#include <gtest/gtest.h>

namespace mw {
namespace {

TEST(ViewControls, SubgroupTextAndCommitNumber)
{
    EXPECT_EQ(subgroup_text(3), " 3");
    EXPECT_EQ(subgroup_text(0), " 0");
    EXPECT_EQ(subgroup_text(-2), "-2");
    // The leading number, "." as decimal point, halves to even; empty when not 16-bit.
    const struct {
        const char* text;
        std::optional<std::int16_t> value;
    } cases[] = {{"", 0},     {" 3", 3},        {"2.5", 2},         {"3.5", 4},    {"-1.5", -2},
                 {"7abc", 7}, {"1,5", 1},       {"x9", 0},          {"1e2", 100},  {"4e", 4},
                 {"+12", 12}, {"32767", 32767}, {"-32768", -32768}, {"40000", {}}, {"1e9", {}}};
    for (const auto& c : cases)
        EXPECT_EQ(commit_number(c.text), c.value) << c.text;
}

} // namespace
} // namespace mw
