#include "base/oem_text.h"

namespace oxlip {

std::string ToOemText(const std::string& text) { return text; }

}  // namespace oxlip
