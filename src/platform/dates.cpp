#include "platform/dates.h"

#include <cstdio>

namespace oxlip::platform {

DateValue ToDateValue(std::time_t utc) {
  std::tm local{};
  localtime_r(&utc, &local);
  return static_cast<DateValue>(utc + local.tm_gmtoff);
}

std::time_t FromDateValue(DateValue date) {
  std::time_t as_utc = date;
  std::tm fields{};
  gmtime_r(&as_utc, &fields);
  fields.tm_isdst = -1;
  return mktime(&fields);
}

DateValue NowDateValue() { return ToDateValue(std::time(nullptr)); }

std::string FormatDate(DateValue date) {
  std::time_t t = date;
  std::tm fields{};
  gmtime_r(&t, &fields);
  char text[32];
  std::snprintf(text, sizeof text, "%02d.%02d.%04d", fields.tm_mday, fields.tm_mon + 1,
                fields.tm_year + 1900);
  return text;
}

std::string FormatDateTime(DateValue date) {
  std::time_t t = date;
  std::tm fields{};
  gmtime_r(&t, &fields);
  char text[16];
  std::snprintf(text, sizeof text, " %02d:%02d", fields.tm_hour, fields.tm_min);
  return FormatDate(date) + text;
}

DateValue DateFromIsoText(const std::string& text) {
  std::tm fields{};
  int year, month, day, hour, minute, second;
  if (std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d", &year, &month, &day, &hour, &minute,
                  &second) != 6)
    return 0;
  fields.tm_year = year - 1900;
  fields.tm_mon = month - 1;
  fields.tm_mday = day;
  fields.tm_hour = hour;
  fields.tm_min = minute;
  fields.tm_sec = second;
  return static_cast<DateValue>(timegm(&fields));
}

}  // namespace oxlip::platform
