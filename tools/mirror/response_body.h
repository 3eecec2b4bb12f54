#pragma once
// Sends an answer's bytes, from memory or from a file, spoiled in transit when a fault says so.
#include <httplib.h>

#include <filesystem>
#include <optional>
#include <string>

#include "faults.h"

namespace oxlip::mirror {

// `fault` is one of the kinds that spoil the body in transit (drop, wrong, slow) or none.
void SendText(httplib::Response& res, std::string text, const char* content_type,
              std::optional<FaultKind> fault);
void SendFile(httplib::Response& res, const std::filesystem::path& file, std::uintmax_t size,
              std::optional<FaultKind> fault);

}  // namespace oxlip::mirror
