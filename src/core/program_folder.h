// The folder of the running executable: the program ships files beside itself
// ("obj_pinfo.dat", "standard.bmp") and writes its diagnostic dumps there.
#pragma once

#include <string>

namespace mw {

// Absolute folder of the running executable, without a trailing slash; "." when it
// cannot be found out.
std::string program_folder();

// Joins a folder and a file name with one "/".
std::string join_path(const std::string& folder, const std::string& name);

} // namespace mw
