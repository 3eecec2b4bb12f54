#include "archive/write_entry.h"

#include "archive/extract_budget.h"
#include "archive/work_progress.h"

namespace oxlip::archive {

bool WriteEntry(OutputFolder& out, const Command& command, const EntryInfo& entry,
                const PlannedEntry& plan, const Filler& fill, std::string* error) {
  switch (plan.action) {
    case EntryAction::kSkip:
      return true;
    case EntryAction::kFolder:
      return out.MakeFolder(plan.target, error);
    case EntryAction::kFile:
      break;
  }
  if (CommandProgress(0).Stopped(error)) return false;
  return out.WriteFile(plan.target, command.overwrite, entry.modified, WithExtractBudget(fill),
                       error);
}

}  // namespace oxlip::archive
