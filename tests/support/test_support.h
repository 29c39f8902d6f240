// Helpers shared by the tests: temporary folders, files and the shared fixtures.
#pragma once

#include <string>
#include <string_view>

namespace mw::test {

// A fresh folder under the system's temporary folder, removed with its contents when
// the object goes away.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(std::string_view name) const { return path_ + "/" + std::string(name); }

  private:
    std::string path_;
};

void write_file(const std::string& path, std::string_view bytes);
std::string read_file(const std::string& path);
bool file_exists(const std::string& path);

// The folder of the real-world fixtures (../shared/fixtures beside the project), or ""
// when it is absent; tests that need it skip then.
std::string fixtures_dir();

} // namespace mw::test
