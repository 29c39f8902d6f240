#include "cli/cli.h"

namespace mw::cli {

int run_info_gmdc(const std::vector<std::string>&)
{
    return usage_error("GMDC files are not supported yet", kInfoUsage);
}

} // namespace mw::cli
