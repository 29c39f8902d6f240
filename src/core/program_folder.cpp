#include "core/program_folder.h"

#include "core/platform.h"

namespace mw {

std::string program_folder()
{
    const std::string exe = platform::program_path();
    return exe.empty() ? "." : platform::folder_of(exe);
}

std::string join_path(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    if (folder.back() == '/' || folder.back() == '\\')
        return folder + name;
    return folder + "/" + name;
}

} // namespace mw
