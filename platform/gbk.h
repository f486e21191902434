#pragma once

#include <string>
#include <string_view>

namespace orvane {

// The program holds every text as GBK bytes, the code page of its window; the source code and
// the desktop speak UTF-8. Neither conversion fails: a character that GBK cannot hold becomes
// "?", and bytes that are not valid GBK become U+FFFD.
std::string to_gbk(std::string_view utf8);
std::string from_gbk(std::string_view gbk);

}
