// The values the settings writer of the crash tests writes, write by write, so that a test can
// tell which writes a file it finds has taken.
#pragma once

#include <cstdio>
#include <string>

namespace koyomi::reliability {

// Round i writes "locate"/"top" = i, then "JvDataGet"/"LastTime" = LastTimeOfRound(i).
inline std::string LastTimeOfRound(long round) {
    char text[32];
    std::snprintf(text, sizeof text, "2026/12/%02ld %02ld:%02ld:%02ld", 1 + round / 86400 % 28,
                  round / 3600 % 24, round / 60 % 60, round % 60);
    return text;
}

}  // namespace koyomi::reliability
