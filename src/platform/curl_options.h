#pragma once
// The libcurl settings every transfer of the program shares.
#include <curl/curl.h>

#include <string>

namespace oxlip::platform {

// Follows redirects, fails on any status outside 2xx, raises no signals (transfers run on
// worker threads), gives up on a stalled transfer (see SetStallLimit) and hands the body to
// `write` with `data`.
void SetTransferOptions(CURL* easy, const std::string& url, curl_write_callback write, void* data);

// Why a transfer that ended with `result` failed, "" when it did not: the server's status
// outside 2xx, else libcurl's words. A failure to write the body is the caller's to tell, with
// the system's reason.
std::string TransferFailure(CURL* easy, CURLcode result);

}  // namespace oxlip::platform
