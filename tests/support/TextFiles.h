#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace velmora::testing {

// The bytes of a file, whole; empty when it cannot be read.
std::string FileBytes(const std::filesystem::path& path);

// The lines of a program's output, without their line ends.
std::vector<std::string> Lines(const std::string& text);

}  // namespace velmora::testing
