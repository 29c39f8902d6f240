#include "cli/cli.h"

namespace mw::cli {

const char* const kResaveUsage = "Usage: meshwright-cli resave IN OUT\n";

int run_resave(const std::vector<std::string>&)
{
    return usage_error("not supported yet", kResaveUsage);
}

} // namespace mw::cli
