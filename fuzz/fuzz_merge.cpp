// libFuzzer target: merging a small OBJ or SMD model into any GMDC that reads (the merge
// pass, "Replace", "add model", the bump-map patch).
#include "checks/merge_checks.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string problem = mw::fuzz::check_merge(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!problem.empty()) {
        std::fprintf(stderr, "merge: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
