// libFuzzer target: GMDC reader and writer, from bytes.
#include "checks/gmdc_checks.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string problem = mw::fuzz::check_gmdc(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!problem.empty()) {
        std::fprintf(stderr, "gmdc: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
