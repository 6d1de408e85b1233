#include "support/TempDir.h"

#include <stdlib.h>

#include <cerrno>
#include <string>
#include <system_error>

namespace velmora::testing {

TempDir::TempDir() {
  // mkdtemp picks the name and creates the folder in one step, so two test
  // processes running side by side never share a folder.
  std::string pattern = (std::filesystem::temp_directory_path() / "velmora-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    throw std::system_error(errno, std::generic_category(), "mkdtemp " + pattern);
  }
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace velmora::testing
