#pragma once
// Date values: seconds since 1970-01-01 00:00 counted in local time (UTC plus the local offset
// at that instant); 0 means no date. All conversions from and to system time are here.
#include <cstdint>
#include <ctime>
#include <string>

namespace oxlip::platform {

using DateValue = std::int32_t;

DateValue ToDateValue(std::time_t utc);
std::time_t FromDateValue(DateValue local);
DateValue NowDateValue();

// Day.month.year with two, two and four digits.
std::string FormatDate(DateValue date);
// The same followed by a blank, the hour and the minute ("31.12.2011 23:59").
std::string FormatDateTime(DateValue date);

// The fields of an ISO 8601 text such as "2011-11-18T12:34:56.000Z" taken as written, as a date
// value (no zone conversion; what follows the seconds is ignored); 0 when malformed.
DateValue DateFromIsoText(const std::string& text);

}  // namespace oxlip::platform
