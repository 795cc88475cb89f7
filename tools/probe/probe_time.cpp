#include "tools/probe/probe_time.h"

#include <cstdio>

#include "platform/core/time.h"

namespace probetool {

std::string IsoLocal(const SYSTEMTIME& time) {
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", time.wYear, time.wMonth,
                  time.wDay, time.wHour, time.wMinute, time.wSecond);
    return text;
}

std::string IsoFromFileTime(const FILETIME& time, bool utc) {
    SYSTEMTIME fields{};
    if (!FileTimeToSystemTime(&time, &fields))
        return {};
    return IsoLocal(fields) + (utc ? "Z" : "");
}

SYSTEMTIME LocalWriteTime(const FILETIME& lastWrite) {
    FILETIME local{};
    SYSTEMTIME fields{};
    if (FileTimeToLocalFileTime(&lastWrite, &local))
        FileTimeToSystemTime(&local, &fields);
    return fields;
}

}  // namespace probetool
