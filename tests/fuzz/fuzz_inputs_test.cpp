// The fuzz targets' inputs as regression tests: every input that once broke a target
// (tests/fuzz/crashes/<target>/, named after what it broke) and every seed
// (fuzz/corpus/<target>/) goes through the same checks the target runs. The sanitizer
// build of the tests (build-asan/) turns a memory fault here into a failure too.
#include "checks/default_area_checks.h"
#include "checks/gmdc_checks.h"
#include "checks/merge_checks.h"
#include "checks/obj_checks.h"
#include "checks/package_checks.h"
#include "checks/smd_checks.h"
#include "checks/text_checks.h"
#include "support/test_support.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>

namespace {

const std::map<std::string, std::function<std::string(std::string_view)>> kChecks = {
    {"fuzz_default_area", mw::fuzz::check_default_area},
    {"fuzz_gmdc", mw::fuzz::check_gmdc},
    {"fuzz_merge", mw::fuzz::check_merge},
    {"fuzz_obj", mw::fuzz::check_obj},
    {"fuzz_package", [](std::string_view b) { return mw::fuzz::check_package(b) + mw::fuzz::check_qfs(b); }},
    {"fuzz_smd", mw::fuzz::check_smd},
    {"fuzz_text", mw::fuzz::check_text_primitives},
};

// The saved inputs' paths; the folder an input sits in names its target.
std::vector<std::string> saved_inputs()
{
    std::vector<std::string> inputs;
    for (const std::string folder : {"/tests/fuzz/crashes/", "/fuzz/corpus/"})
        for (const auto& [target, check] : kChecks) {
            std::error_code absent;
            for (const auto& entry :
                 std::filesystem::directory_iterator(MESHWRIGHT_SOURCE_DIR + folder + target, absent))
                inputs.push_back(entry.path().generic_string());
        }
    std::ranges::sort(inputs);
    return inputs;
}

class FuzzInput : public ::testing::TestWithParam<std::string> {};

} // namespace

TEST_P(FuzzInput, PassesItsTargetsChecks)
{
    const std::string target = std::filesystem::path(GetParam()).parent_path().filename().string();
    EXPECT_EQ(kChecks.at(target)(mw::test::read_file(GetParam())), "") << GetParam();
}

// Named by the path under the source tree: fuzz_corpus_fuzz_gmdc_..., tests_fuzz_crashes_...
INSTANTIATE_TEST_SUITE_P(Saved, FuzzInput, ::testing::ValuesIn(saved_inputs()),
                         [](const ::testing::TestParamInfo<std::string>& input) {
                             std::string name = input.param.substr(std::string(MESHWRIGHT_SOURCE_DIR).size() + 1);
                             for (char& c : name)
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });
