// libFuzzer target: the "obj_pinfo.dat" reader, from bytes.
#include "checks/default_area_checks.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string problem =
        mw::fuzz::check_default_area(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!problem.empty()) {
        std::fprintf(stderr, "default_area: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
