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

struct SavedInput {
    std::string target, path, testName;
};

void PrintTo(const SavedInput& input, std::ostream* os)
{
    *os << input.path;
}

std::vector<SavedInput> saved_inputs()
{
    std::vector<SavedInput> inputs;
    for (const std::string folder : {"/tests/fuzz/crashes/", "/fuzz/corpus/"})
        for (const auto& [target, check] : kChecks) {
            const std::filesystem::path dir = MESHWRIGHT_SOURCE_DIR + folder + target;
            if (std::filesystem::is_directory(dir))
                for (const auto& entry : std::filesystem::directory_iterator(dir)) {
                    std::string name = target + (folder.find("crashes") != std::string::npos ? "_crash_" : "_seed_") +
                                       entry.path().filename().string();
                    std::replace_if(
                        name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); },
                        '_');
                    inputs.push_back({target, entry.path().string(), name});
                }
        }
    std::sort(inputs.begin(), inputs.end(), [](const auto& a, const auto& b) { return a.testName < b.testName; });
    return inputs;
}

class FuzzInput : public ::testing::TestWithParam<SavedInput> {};

} // namespace

TEST_P(FuzzInput, PassesItsTargetsChecks)
{
    EXPECT_EQ(kChecks.at(GetParam().target)(mw::test::read_file(GetParam().path)), "") << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(Saved, FuzzInput, ::testing::ValuesIn(saved_inputs()),
                         [](const ::testing::TestParamInfo<SavedInput>& input) { return input.param.testName; });
