#pragma once
// Fetching one URL into one file.
#include <string>

#include "platform/error.h"

namespace oxlip::platform {

// Sets up the HTTP library once for the process; later calls do nothing. Transfers call it
// themselves, so only start-up needs to.
void InitNetwork();

// A transfer that receives fewer than `bytes_per_second` for `seconds` in a row is aborted and
// fails like any other; a server that stops sending would otherwise hang it for ever. The
// default is 1 byte per second for 30 seconds; tests shorten it. Applies to transfers started
// afterwards.
void SetStallLimit(long bytes_per_second, long seconds);

// Follows redirects and fails on any status outside 2xx. The body goes to a temporary file
// beside the target, renamed into place only when complete, so a failure leaves the old
// target as it was. True on success; else `error` says why: the system's reason when the file
// could not be written, else the transfer's ("the server answered 404").
bool DownloadToFile(const std::string& url, const std::string& path, Error* error = nullptr);

}  // namespace oxlip::platform
