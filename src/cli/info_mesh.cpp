#include "cli/cli.h"

namespace mw::cli {

int run_info_mesh(const std::vector<std::string>&)
{
    return usage_error("OBJ and SMD files are not supported yet", kInfoUsage);
}

} // namespace mw::cli
