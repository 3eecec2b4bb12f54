#pragma once
// Carrying out a planned entry of an extraction.
#include <string>

#include "archive/command.h"
#include "archive/extract_plan.h"
#include "archive/output_folder.h"

namespace oxlip::archive {

// `fill` yields a file's bytes; what one extraction may unpack in all is capped.
bool WriteEntry(OutputFolder& out, const Command& command, const EntryInfo& entry,
                const PlannedEntry& plan, const Filler& fill, std::string* error);

}  // namespace oxlip::archive
