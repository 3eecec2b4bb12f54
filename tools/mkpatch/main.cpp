// oxlip-mkpatch: writes the downgrade patch that turns one game jar into another.
#include <cstdio>
#include <cstring>
#include <string>

#include "file_tree.h"
#include "patch_writer.h"
#include "platform/fs.h"
#include "platform/path.h"
#include "versions/patch_naming.h"

namespace {

using namespace oxlip;

constexpr char kUsage[] =
    "Usage: oxlip-mkpatch SOURCE TARGET PATCH\n"
    "\n"
    "Writes a downgrade patch that turns SOURCE into TARGET. SOURCE is the jar a downgrade\n"
    "starts from (a game version in Oxlip's version store), TARGET the jar it makes (the\n"
    "older version); either may also be a folder holding the jar's unpacked files.\n"
    "\n"
    "PATCH is the patch file to write. When it is a folder (or ends in \"/\"), the patch is\n"
    "named there the way Oxlip looks for it: SOURCE's name and TARGET's name without \".jar\",\n"
    "joined by \"#\", with \".patch\" at the end.\n"
    "\n"
    "Every file of TARGET gets a record: kept when SOURCE has the same bytes under that name,\n"
    "a delta against SOURCE's file when that is smaller, its whole content otherwise.\n"
    "\n"
    "Example: put the patch into Oxlip's patch folder (PatchDir, \"downgrade\" by default):\n"
    "  oxlip-mkpatch \"mcversions/minecraft - 1.4.7.jar\" \"minecraft - 1.4.6.jar\" downgrade/\n"
    "writes \"downgrade/minecraft - 1.4.7#minecraft - 1.4.6.patch\"; \"Downgrade\" on version\n"
    "1.4.7 then makes \"minecraft - 1.4.6.jar\" in the version store.\n";

int Fail(const std::string& message) {
  std::fprintf(stderr, "oxlip-mkpatch: %s\n", message.c_str());
  return 1;
}

// The patch file's path: PATCH itself, or the conventional name inside the folder PATCH.
std::string PatchPath(const std::string& source, const std::string& target,
                      const std::string& patch) {
  bool folder = platform::IsSeparator(patch.back()) || platform::IsFolder(patch);
  if (!folder) return patch;
  auto name = [](const std::string& path) {
    std::string trimmed = path;
    while (trimmed.size() > 1 && platform::IsSeparator(trimmed.back())) trimmed.pop_back();
    return platform::FileNamePart(trimmed);
  };
  return platform::WithTrailingSeparator(patch) +
         versions::PatchFileName(name(source), name(target));
}

int Run(const std::string& source, const std::string& target, const std::string& patch) {
  mkpatch::FileTree source_tree, target_tree;
  std::string error;
  if (!mkpatch::ReadFileTree(source, &source_tree, &error)) return Fail(error);
  if (!mkpatch::ReadFileTree(target, &target_tree, &error)) return Fail(error);
  std::string bytes;
  mkpatch::PatchStats stats;
  if (!mkpatch::MakePatch(source_tree, target_tree, &bytes, &stats, &error)) return Fail(error);
  std::string path = PatchPath(source, target, patch);
  if (!platform::ReplaceFileContents(path, bytes)) return Fail("can't write " + path);
  std::printf("%s: %zu records (%zu kept, %zu deltas, %zu new), %zu bytes for %zu bytes of files\n",
              path.c_str(), target_tree.size(), stats.kept, stats.deltas, stats.new_content,
              bytes.size(), stats.target_bytes);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
  }
  if (argc != 4 || !*argv[1] || !*argv[2] || !*argv[3]) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  return Run(argv[1], argv[2], argv[3]);
}
