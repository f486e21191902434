#pragma once

#include <ctime>
#include <string>

namespace orvane {

// "Thu, 11 Dec 2026 21:29:43 +0800": a local time in the RFC 5322 form, with its offset from
// UTC in seconds (east positive).
[[nodiscard]] std::string format_mail_date(const std::tm& local, long utc_offset_seconds);

// The local time of now, daylight saving included, in that form.
[[nodiscard]] std::string current_mail_date();

}
