// Linked into every GUI test (and the window's benchmarks): the program keeps
// its settings under XDG_CONFIG_HOME, so each run points that at a folder of
// its own before anything is read, and removes it at the end. A test thus
// never changes the user's settings, never sees what another test stored
// beside it (ctest -j runs them side by side), nor what an earlier run left.
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

class OwnSettingsFolder {
 public:
  OwnSettingsFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "velmora-settings-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
      // Going on would write the user's settings.
      std::perror(("mkdtemp " + pattern).c_str());
      std::abort();
    }
    folder_ = pattern;
    setenv("XDG_CONFIG_HOME", folder_.c_str(), 1);
  }
  ~OwnSettingsFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  OwnSettingsFolder(const OwnSettingsFolder&) = delete;
  OwnSettingsFolder& operator=(const OwnSettingsFolder&) = delete;

 private:
  std::filesystem::path folder_;
};

const OwnSettingsFolder kOwnSettingsFolder;

}  // namespace
