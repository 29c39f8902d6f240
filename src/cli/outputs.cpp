#include "cli/outputs.h"

#include "cli/cli.h"
#include "core/platform.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

namespace mw::cli {

namespace fs = std::filesystem;

bool same_file(const std::string& a, const std::string& b)
{
    std::error_code ec;
    if (fs::exists(a, ec) && fs::exists(b, ec))
        return platform::same_file(a, b);
    const fs::path pa = fs::weakly_canonical(fs::absolute(a, ec), ec);
    const fs::path pb = fs::weakly_canonical(fs::absolute(b, ec), ec);
    return pa == pb;
}

void refuse_output_over_input(const std::string& out, const std::vector<std::string>& inputs)
{
    if (is_stdout(out))
        return;
    for (const std::string& in : inputs)
        if (same_file(out, in))
            usage_error("the output " + out + " is the input " + in +
                        "; writing it would destroy the input, so choose another output file");
}

bool output_writable(const std::string& path, std::string& error)
{
    std::error_code ec;
    const fs::path target(path);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    if (!fs::is_directory(folder, ec)) {
        error = "Cannot write \"" + path + "\": there is no folder \"" + folder.string() + "\".";
        return false;
    }
    const platform::FileFacts facts = platform::file_facts(path);
    if (facts.kind == platform::FileKind::Folder) {
        error = "Cannot write \"" + path + "\": it is a folder.";
        return false;
    }
    if (facts.writeProtected) {
        error = "Cannot write \"" + path + "\": it is write-protected.";
        return false;
    }
    // Only trying tells whether the folder takes a new file (permissions, read-only media).
    const fs::path probe = folder / (".meshwright-probe-" + std::to_string(std::random_device()()));
    const bool created = std::ofstream(probe).good();
    fs::remove(probe, ec);
    if (!created) {
        error = "Cannot write \"" + path + "\": the folder \"" + folder.string() + "\" does not take new files.";
        return false;
    }
    return true;
}

bool write_stdout(const std::string& text)
{
    platform::set_stdout_binary();
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0) {
        std::fputs("Cannot write to standard output.\n", stderr);
        return false;
    }
    return true;
}

} // namespace mw::cli
