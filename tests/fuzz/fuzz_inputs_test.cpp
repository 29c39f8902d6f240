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

using Check = std::function<std::string(std::string_view)>;

const std::map<std::string, Check>& checks_by_target()
{
    static const std::map<std::string, Check> checks = {
        {"fuzz_default_area", mw::fuzz::check_default_area},
        {"fuzz_gmdc", mw::fuzz::check_gmdc},
        {"fuzz_merge", mw::fuzz::check_merge},
        {"fuzz_obj", mw::fuzz::check_obj},
        {"fuzz_package", [](std::string_view b) { return mw::fuzz::check_package(b) + mw::fuzz::check_qfs(b); }},
        {"fuzz_smd", mw::fuzz::check_smd},
        {"fuzz_text", mw::fuzz::check_text_primitives},
    };
    return checks;
}

struct SavedInput {
    std::string target;
    std::string path;
    std::string testName;
};

void PrintTo(const SavedInput& input, std::ostream* os)
{
    *os << input.path;
}

std::vector<SavedInput> saved_inputs()
{
    namespace fs = std::filesystem;
    std::vector<SavedInput> inputs;
    const std::string root = MESHWRIGHT_SOURCE_DIR;
    for (const char* folder : {"/tests/fuzz/crashes/", "/fuzz/corpus/"}) {
        const bool crash = std::string(folder).find("crashes") != std::string::npos;
        for (const auto& [target, check] : checks_by_target()) {
            const fs::path dir = root + folder + target;
            if (!fs::is_directory(dir))
                continue;
            for (const auto& entry : fs::directory_iterator(dir)) {
                std::string name = target + (crash ? "_crash_" : "_seed_") + entry.path().filename().string();
                std::replace_if(
                    name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
                inputs.push_back({target, entry.path().string(), name});
            }
        }
    }
    std::sort(inputs.begin(), inputs.end(),
              [](const SavedInput& a, const SavedInput& b) { return a.testName < b.testName; });
    return inputs;
}

class FuzzInput : public ::testing::TestWithParam<SavedInput> {};

} // namespace

TEST_P(FuzzInput, PassesItsTargetsChecks)
{
    const std::string bytes = mw::test::read_file(GetParam().path);
    EXPECT_EQ(checks_by_target().at(GetParam().target)(bytes), "") << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(Saved, FuzzInput, ::testing::ValuesIn(saved_inputs()),
                         [](const ::testing::TestParamInfo<SavedInput>& input) { return input.param.testName; });
