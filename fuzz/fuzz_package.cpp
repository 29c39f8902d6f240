// libFuzzer target: the package reader and writer, and the QFS decoder and encoder.
#include "checks/package_checks.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const auto& problem : {mw::fuzz::check_package(bytes), mw::fuzz::check_qfs(bytes)})
        if (!problem.empty()) {
            std::fprintf(stderr, "package: %s\n", problem.c_str());
            std::abort();
        }
    return 0;
}
