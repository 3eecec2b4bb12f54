#include "support/downgrade_fixture.h"

#include "platform/fs.h"
#include "versions/downgrade.h"
#include "versions/patch_naming.h"

namespace oxlip::test {
namespace {

std::string Record(const std::string& name, const std::string& content, platform::DateValue date,
                   versions::RecordType type) {
  versions::RecordHeader header{name, versions::Crc32(content), date,
                                static_cast<std::int32_t>(content.size()),
                                static_cast<std::uint8_t>(type)};
  return versions::RecordHeaderBytes(header);
}

}  // namespace

void DowngradeTest::SetUp() {
  settings.StartFolder = dir();
  settings.VersionsDir = dir() + "mcversions/";
  settings.PatchDir = dir() + "downgrade/";
  settings.CacheDir = dir() + "Cache/";
  work = settings.CacheDir + "patch/";
  for (const std::string& folder :
       {settings.VersionsDir, settings.PatchDir, settings.CacheDir, work})
    platform::CreateFolder(folder);
}

void DowngradeTest::WritePatch(const std::string& source_file, const std::string& target_file,
                               const std::string& bytes) {
  WriteFile(settings.PatchDir + versions::PatchFileName(source_file, target_file), bytes);
}

std::string DowngradeTest::VerIni() const { return ReadFile(settings.VersionsDir + "ver.ini"); }

int DowngradeTest::Run(const std::string& source_file, int chain) {
  return Downgrade(settings, Jar(source_file), work, &status, chain, 1);
}

std::string KeepRecord(const std::string& name, const std::string& content,
                       platform::DateValue date) {
  return Record(name, content, date, versions::RecordType::kKeep);
}

std::string NewRecord(const std::string& name, const std::string& content,
                      platform::DateValue date) {
  return Record(name, content, date, versions::RecordType::kNewContent) + content;
}

std::string DeltaRecord(const std::string& name, const std::string& content,
                        platform::DateValue date, const std::string& commands) {
  return Record(name, content, date, versions::RecordType::kDelta) + commands;
}

}  // namespace oxlip::test
