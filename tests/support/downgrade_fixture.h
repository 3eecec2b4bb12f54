#pragma once
// A version store, a patch folder and a work folder in the test's own folder, and patches
// written record by record.
#include <string>
#include <vector>

#include "base/settings.h"
#include "support/jar_files.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"
#include "versions/patch_format.h"

namespace oxlip::test {

class DowngradeTest : public InTempFolder {
 protected:
  void SetUp() override;

  std::string Jar(const std::string& file) const { return settings.VersionsDir + file; }
  void WritePatch(const std::string& source_file, const std::string& target_file,
                  const std::string& bytes);
  std::string VerIni() const;
  // Downgrade of a stored jar into the work folder, unpacking it first.
  int Run(const std::string& source_file, int chain);

  base::GlobalSettings settings;
  std::string work;
  RecordingProgress status;
};

// One record each; `content` is the file's final content (its size and CRC go into the record).
std::string KeepRecord(const std::string& name, const std::string& content,
                       platform::DateValue date);
std::string NewRecord(const std::string& name, const std::string& content,
                      platform::DateValue date);
// `commands` is the command stream (its end command included).
std::string DeltaRecord(const std::string& name, const std::string& content,
                        platform::DateValue date, const std::string& commands);

}  // namespace oxlip::test
