// libFuzzer target: line splitting, tokens with any delimiter, number parsing and formatting.
#include "checks/text_checks.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string problem =
        mw::fuzz::check_text_primitives(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!problem.empty()) {
        std::fprintf(stderr, "text primitives: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
