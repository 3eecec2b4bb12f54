// Each failure a person can meet, made for real, comes back with the operation, the path and
// the system's own reason.
#include "platform/error.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
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

enum class Fault { kNone, kWriteLimit, kReadOnly, kFull };

struct FailureCase {
  const char* label;
  Fault fault;  // made on the folder "disk/" of the test's folder
  const char* operation;
  int code;
  // Runs the operation in the test's folder and gives the failure it recorded.
  std::function<Error(const std::string& dir)> fail;
};

void PrintTo(const FailureCase& c, std::ostream* out) { *out << c.label; }

const std::string kBig(100 * 1024, 'x');  // more than the full disk holds

Error Returned(bool ok, const Error& error) { return ok ? Error{} : error; }

const FailureCase kCases[] = {
    {"CreateFolderThroughAFile", Fault::kNone, "create", ENOTDIR,
     [](const std::string& dir) {
       Error error;
       return Returned(CreateFolder(dir + "disk/level.dat/region", &error), error);
     }},
    {"CopyBeyondTheWriteLimit", Fault::kWriteLimit, "copy", EFBIG,
     [](const std::string& dir) {
       Error error;
       return Returned(CopyFile(dir + "big", dir + "disk/copy", &error), error);
     }},
    {"CopyTreeOntoAFullDisk", Fault::kFull, "copy", ENOSPC,
     [](const std::string& dir) {
       Error error;
       bool ok = CopyTree(dir + "tree", dir + "disk/tree", FollowLinks::kNever, nullptr, &error);
       return Returned(ok, error);
     }},
    {"ReplaceOnAReadOnlyDisk", Fault::kReadOnly, "create", EROFS,
     [](const std::string& dir) {
       Error error;
       return Returned(ReplaceFileContents(dir + "disk/level.dat", "new", &error), error);
     }},
    {"MoveOntoAnExistingName", Fault::kNone, "move", EEXIST,
     [](const std::string& dir) {
       Error error;
       return Returned(RenameFile(dir + "big", dir + "disk/level.dat", &error), error);
     }},
    {"DeleteOnAReadOnlyDisk", Fault::kReadOnly, "delete", EROFS,
     [](const std::string& dir) {
       Error error;
       return Returned(DeleteFile(dir + "disk/level.dat", &error), error);
     }},
    {"DeleteTreeOnAReadOnlyDisk", Fault::kReadOnly, "delete", EROFS,
     [](const std::string& dir) {
       Error error;
       return Returned(DeleteTree(dir + "disk", &error), error);
     }},
    {"WriterBeyondTheWriteLimit", Fault::kWriteLimit, "write", EFBIG,
     [](const std::string& dir) {
       FileWriter file;
       bool ok = file.Open(dir + "disk/list.txt") && file.Write(kBig) && file.Close();
       return Returned(ok, file.error());
     }},
    {"NewFileOntoAFullDisk", Fault::kFull, "write", ENOSPC,
     [](const std::string& dir) {
       NewFile file;
       bool ok =
           file.Create(dir + "disk/new") && file.Write(kBig.data(), kBig.size()) && file.Close();
       return Returned(ok, file.error());
     }},
    {"ArchiveOntoAReadOnlyDisk", Fault::kReadOnly, "create", EROFS,
     [](const std::string& dir) {
       RandomAccessFile file;
       return Returned(file.Create(dir + "disk/world.7z"), file.error());
     }},
    {"ReadAFolder", Fault::kNone, "read", EISDIR,
     [](const std::string& dir) {
       InputFile file;
       return Returned(file.Open(dir + "disk"), file.error());
     }},
    {"StartAMissingProgram", Fault::kNone, "start", ENOENT,
     [](const std::string& dir) {
       ProcessStart start;
       start.args = {dir + "disk/java"};
       Error error;
       return Returned(Process::Start(start, &error).has_value(), error);
     }},
};

class FailureReasonTest : public test::InTempFolder,
                          public testing::WithParamInterface<FailureCase> {};

// The failure as "<code> <Text()>", made in a child process where a fault is needed.
std::optional<std::string> Made(const FailureCase& c, const std::string& dir, bool* skipped) {
  auto run = [&] {
    Error error = c.fail(dir);
    return std::to_string(error.code) + " " + error.Text();
  };
  if (c.fault == Fault::kNone) return run();
  DiskFault fault = c.fault == Fault::kWriteLimit ? DiskFault::kWriteLimit
                    : c.fault == Fault::kFull     ? DiskFault::kFull
                                                  : DiskFault::kReadOnly;
  return test::InChildWithFault(fault, dir + "disk", run, skipped);
}

TEST_P(FailureReasonTest, NamesWhatWhereAndWhy) {
  const FailureCase& c = GetParam();
  test::WriteFile(dir() + "disk/level.dat", "world");
  test::WriteFile(dir() + "big", kBig);
  test::WriteFile(dir() + "tree/region/r.0.0.mca", kBig);
  bool skipped = false;
  std::optional<std::string> made = Made(c, dir(), &skipped);
  if (skipped) GTEST_SKIP() << "no mount namespace can be made here";
  ASSERT_TRUE(made);
  std::string reason = ReasonText(c.code);
  EXPECT_EQ(made->substr(0, made->find(' ')), std::to_string(c.code)) << *made;
  std::string text = made->substr(made->find(' ') + 1);
  EXPECT_EQ(text.rfind(std::string("can't ") + c.operation + " " + dir(), 0), 0u) << text;
  EXPECT_EQ(text.substr(text.size() - reason.size() - 2), ": " + reason) << text;
  EXPECT_EQ(test::ReadFile(dir() + "disk/level.dat"), "world");  // nothing lost on the way
}

INSTANTIATE_TEST_SUITE_P(Kinds, FailureReasonTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<FailureCase>& info) {
                           return info.param.label;
                         });

}  // namespace
}  // namespace oxlip::platform
