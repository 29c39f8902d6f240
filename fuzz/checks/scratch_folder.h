// A private folder for the readers that take a file name: the fuzz input is written there
// before each run. Made once per process, in memory (/dev/shm) where there is one, and
// removed when the process ends.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

namespace mw::fuzz {

class ScratchFolder {
  public:
    static const std::string& path()
    {
        static const ScratchFolder folder;
        return folder.path_;
    }

    // Writes `bytes` to the file `name` in the folder and returns its path.
    static std::string put(const std::string& name, std::string_view bytes)
    {
        const std::string file = path() + "/" + name;
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out)
            std::abort(); // the harness itself is broken, not the code under test
        return file;
    }

  private:
    ScratchFolder()
    {
#ifdef _WIN32
        // No mkdtemp on Windows: a random name, made only if it is new.
        const auto base = std::filesystem::temp_directory_path();
        do
            path_ = (base / ("meshwright-fuzz-" + std::to_string(std::random_device{}()))).generic_string();
        while (!std::filesystem::create_directory(path_));
#else
        const std::string base = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
        std::string templ = base + "/meshwright-fuzz-XXXXXX";
        if (!::mkdtemp(templ.data()))
            std::abort();
        path_ = templ;
#endif
    }
    ~ScratchFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }

    std::string path_;
};

} // namespace mw::fuzz
