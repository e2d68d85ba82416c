// Leaves the library's global user time zone as every test finds it: the machine's zone.
#pragma once

#include "timelib/c_time.h"

struct UserZoneScope {
    UserZoneScope() { Clear(); }
    ~UserZoneScope() { Clear(); }
    UserZoneScope(const UserZoneScope&) = delete;
    UserZoneScope& operator=(const UserZoneScope&) = delete;
    static void Clear() { C_Time::SetLocTimeZoneInfo(nullptr); }
};
