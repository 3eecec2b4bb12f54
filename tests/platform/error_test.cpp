// Each failure a person can meet, made for real, comes back with the operation, the path and
// the system's own reason.
#include "platform/error.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <optional>
#include <string>

#include "platform/file_writer.h"
#include "platform/fs.h"
#include "platform/open_file.h"
#include "platform/process.h"
#include "platform/random_access_file.h"
#include "support/temp_folder.h"
#include "support/write_limit.h"

namespace oxlip::platform {
namespace {

using test::DiskFault;

const std::string kBig(100 * 1024, 'x');  // more than the full disk holds
const std::optional<DiskFault> kNone;

// The error a file object kept, when `ok` says it failed.
template <typename File>
bool Kept(const File& file, bool ok, Error* error) {
  *error = file.error();
  return ok;
}

struct FailureCase {
  const char* label;
  std::optional<DiskFault> fault;  // made on the folder "disk/" of the case's folder
  const char* operation;
  int code;
  // Runs the operation in the case's folder `d`; false when it failed, with the reason in `e`.
  std::function<bool(const std::string& d, Error* e)> run;
};

const FailureCase kCases[] = {
    {"CreateFolderThroughAFile", kNone, "create", ENOTDIR,
     [](auto& d, auto* e) { return CreateFolder(d + "disk/level.dat/region", e); }},
    {"CopyBeyondTheWriteLimit", DiskFault::kWriteLimit, "copy", EFBIG,
     [](auto& d, auto* e) { return CopyFile(d + "big", d + "disk/copy", e); }},
    {"CopyTreeOntoAFullDisk", DiskFault::kFull, "copy", ENOSPC,
     [](auto& d, auto* e) {
       return CopyTree(d + "tree", d + "disk/tree", FollowLinks::kNever, nullptr, e);
     }},
    {"ReplaceOnAReadOnlyDisk", DiskFault::kReadOnly, "create", EROFS,
     [](auto& d, auto* e) { return ReplaceFileContents(d + "disk/level.dat", "new", e); }},
    {"MoveOntoAnExistingName", kNone, "move", EEXIST,
     [](auto& d, auto* e) { return RenameFile(d + "big", d + "disk/level.dat", e); }},
    {"DeleteOnAReadOnlyDisk", DiskFault::kReadOnly, "delete", EROFS,
     [](auto& d, auto* e) { return DeleteFile(d + "disk/level.dat", e); }},
    {"DeleteTreeOnAReadOnlyDisk", DiskFault::kReadOnly, "delete", EROFS,
     [](auto& d, auto* e) { return DeleteTree(d + "disk", e); }},
    {"WriterBeyondTheWriteLimit", DiskFault::kWriteLimit, "write", EFBIG,
     [](auto& d, auto* e) {
       FileWriter f;
       return Kept(f, f.Open(d + "disk/list.txt") && f.Write(kBig) && f.Close(), e);
     }},
    {"NewFileOntoAFullDisk", DiskFault::kFull, "write", ENOSPC,
     [](auto& d, auto* e) {
       NewFile f;
       return Kept(f, f.Create(d + "disk/new") && f.Write(kBig.data(), kBig.size()) && f.Close(),
                   e);
     }},
    {"ArchiveOntoAReadOnlyDisk", DiskFault::kReadOnly, "create", EROFS,
     [](auto& d, auto* e) {
       RandomAccessFile f;
       return Kept(f, f.Create(d + "disk/world.7z"), e);
     }},
    {"ReadAFolder", kNone, "read", EISDIR,
     [](auto& d, auto* e) {
       InputFile f;
       return Kept(f, f.Open(d + "disk"), e);
     }},
    {"StartAMissingProgram", kNone, "start", ENOENT,
     [](auto& d, auto* e) {
       return Process::Start({{d + "disk/java"}, "", {}, ""}, e).has_value();
     }},
};

class FailureReasonTest : public test::InTempFolder {};

TEST_F(FailureReasonTest, NamesWhatWhereAndWhy) {
  for (const FailureCase& c : kCases) {
    SCOPED_TRACE(c.label);
    std::string d = dir() + c.label + "/";
    test::WriteFile(d + "disk/level.dat", "world");
    test::WriteFile(d + "big", kBig);
    test::WriteFile(d + "tree/region/r.0.0.mca", kBig);
    // "<code> <text>", made in a child process where a fault is needed.
    auto run = [&] {
      Error error;
      if (c.run(d, &error)) return std::string("succeeded");
      return std::to_string(error.code) + " " + error.Text();
    };
    bool skipped = false;
    std::optional<std::string> made =
        c.fault ? test::InChildWithFault(*c.fault, d + "disk", run, &skipped) : run();
    if (skipped) continue;  // no mount namespace can be made here
    ASSERT_TRUE(made);
    std::string reason = ReasonText(c.code);
    EXPECT_EQ(made->substr(0, made->find(' ')), std::to_string(c.code)) << *made;
    std::string text = made->substr(made->find(' ') + 1);
    EXPECT_TRUE(text.starts_with(std::string("can't ") + c.operation + " " + d)) << text;
    EXPECT_TRUE(text.ends_with(": " + reason)) << text;
    EXPECT_EQ(test::ReadFile(d + "disk/level.dat"), "world");  // nothing lost on the way
  }
}

}  // namespace
}  // namespace oxlip::platform
