// libFuzzer target: the OBJ reader and the MTL reader it calls (input: OBJ text, optionally followed by "\n#MTL\n" and
// the text of the MTL file it names). Read from memory: no file is written.
#include "checks/obj_checks.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string problem = mw::fuzz::check_obj(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!problem.empty()) {
        std::fprintf(stderr, "obj: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
