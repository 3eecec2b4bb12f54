#include "platform/utf8_names.h"

#include <locale.h>

#include <initializer_list>

namespace oxlip::platform {
namespace {

// Created once and kept for the life of the process: threads may still be using it at exit.
locale_t Utf8Locale() {
  static const locale_t utf8 = [] {
    for (const char* name : {"C.UTF-8", "C.utf8", "en_US.UTF-8"})
      if (locale_t made = ::newlocale(LC_CTYPE_MASK, name, static_cast<locale_t>(0))) return made;
    return static_cast<locale_t>(0);
  }();
  return utf8;
}

}  // namespace

Utf8Names::Utf8Names() {
  if (locale_t utf8 = Utf8Locale()) previous_ = ::uselocale(utf8);
}

Utf8Names::~Utf8Names() {
  if (previous_) ::uselocale(static_cast<locale_t>(previous_));
}

}  // namespace oxlip::platform
