#include "archive/zip_handle.h"

namespace oxlip::archive {

ZipHandle OpenZip(const std::string& path, int flags, std::string* error) {
  int code = 0;
  zip_t* zip = zip_open(path.c_str(), flags, &code);
  if (!zip) {
    zip_error_t why;
    zip_error_init_with_code(&why, code);
    *error = "can't open " + path + ": " + zip_error_strerror(&why);
    zip_error_fini(&why);
  }
  return ZipHandle(zip);
}

}  // namespace oxlip::archive
