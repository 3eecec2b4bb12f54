#pragma once
// Downgrades: a stored jar becomes the older jar that its patch in PatchDir describes, and the
// new jar the source of the next patch, until no patch fits.
#include <string>

#include "base/progress.h"
#include "base/settings.h"

namespace oxlip {

// Applies the patch for `source` (a jar path) in `work_folder` (ending in a separator; with
// `unpack` 1 the jar is unpacked there first, with 0 it already holds the jar's files) and
// packs the result into VersionsDir with its record in "ver.ini". `status`, when given, shows
// "<source> to <target>" as its second text. With `chain` 1 the downgrade goes on from the
// target, also when the target existed already; a chain never visits a jar twice.
// Returns 1 when this call's target jar was made, else 0 with the last-error text set.
int Downgrade(const base::GlobalSettings& settings, const std::string& source,
              const std::string& work_folder, base::ProgressSink* status, int chain, int unpack);

}  // namespace oxlip
