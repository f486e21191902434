#include "alert/mail_date.h"

#include <cstdio>
#include <cstdlib>

namespace orvane {
namespace {
constexpr const char* day_names[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* month_names[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
}

std::string format_mail_date(const std::tm& local, long utc_offset_seconds)
{
    const long minutes = std::labs(utc_offset_seconds) / 60;
    char text[48];
    std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d %c%02ld%02ld",
                  day_names[local.tm_wday % 7], local.tm_mday, month_names[local.tm_mon % 12],
                  local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec,
                  utc_offset_seconds < 0 ? '-' : '+', minutes / 60, minutes % 60);
    return text;
}

std::string current_mail_date()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return format_mail_date(local, local.tm_gmtoff);
}

}
