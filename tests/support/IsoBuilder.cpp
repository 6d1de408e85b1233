#include "support/IsoBuilder.h"

#include <vector>

#include "support/RunCommand.h"

namespace velmora::testing {
namespace {

std::vector<std::string> GenisoimageCommand(const std::filesystem::path& sourceDir,
                                            const std::filesystem::path& out,
                                            const IsoOptions& options) {
  // The fixture trees are written in UTF-8 whatever the test's locale says.
  std::vector<std::string> argv{
      "genisoimage", "-quiet",         "-input-charset", "utf-8",
      "-V",          options.volumeId, "-iso-level",     std::to_string(options.isoLevel)};
  if (options.joliet) argv.push_back("-J");
  if (options.rockRidge) argv.push_back("-R");
  if (options.omitVersionNumbers) argv.push_back("-N");
  if (options.longNames) argv.push_back("-l");
  if (options.lowercase) argv.push_back("-allow-lowercase");
  argv.insert(argv.end(), {"-o", out.string(), sourceDir.string()});
  return argv;
}

std::vector<std::string> XorrisoCommand(const std::filesystem::path& sourceDir,
                                        const std::filesystem::path& out,
                                        const IsoOptions& options) {
  std::string compliance = "iso_9660_level=" + std::to_string(options.isoLevel);
  if (options.omitVersionNumbers) compliance += ":omit_version";
  if (options.longNames) compliance += ":long_names";
  if (options.lowercase) compliance += ":lowercase";
  // -no_rc keeps a user's startup file out; SORRY lets real problems reach stderr.
  return {"xorriso",
          "-no_rc",
          "-report_about",
          "SORRY",
          "-local_charset",
          "UTF-8",
          "-outdev",
          out.string(),
          "-volid",
          options.volumeId,
          "-joliet",
          options.joliet ? "on" : "off",
          "-rockridge",
          options.rockRidge ? "on" : "off",
          "-compliance",
          compliance,
          "-map",
          sourceDir.string(),
          "/"};
}

}  // namespace

std::string RecordingZone(const IsoOptions& options) {
  // libisofs writes every time as UTC with a zero offset, whatever TZ says.
  return options.tool == IsoTool::kXorriso ? "UTC0" : options.timeZone;
}

std::filesystem::path MakeIso(const std::filesystem::path& sourceDir,
                              const std::filesystem::path& out, const IsoOptions& options) {
  // xorriso would take an existing file as a disc to append a session to.
  std::filesystem::remove(out);
  const std::vector<std::string> argv = options.tool == IsoTool::kXorriso
                                            ? XorrisoCommand(sourceDir, out, options)
                                            : GenisoimageCommand(sourceDir, out, options);
  RunChecked(argv, {"TZ=" + options.timeZone});
  return out;
}

}  // namespace velmora::testing
