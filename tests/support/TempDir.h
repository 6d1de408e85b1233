#pragma once

#include <filesystem>

namespace velmora::testing {

// A fresh directory under the system's temporary folder, removed with all it holds
// when the object goes away. Fixture discs and extracted trees live in one of these.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::filesystem::path& relative) const {
    return path_ / relative;
  }

 private:
  std::filesystem::path path_;
};

}  // namespace velmora::testing
