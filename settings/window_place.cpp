#include "settings/window_place.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>

// Plain strtol and to_string rather than the printf family: those would
// bring mingw's own formatting code (some 60 KB) into the executable.
bool ParseWindowPlace(const std::string& value, WindowPlace* place) {
    long numbers[5];
    const char* at = value.c_str();
    for (int i = 0; i < 5; ++i) {
        char* end = nullptr;
        errno = 0;
        numbers[i] = strtol(at, &end, 10);
        // Digits with an optional sign only, each followed by a comma but the last.
        if (end == at || errno || !(isdigit(static_cast<unsigned char>(*at)) || *at == '-')) return false;
        if (*end != (i < 4 ? ',' : '\0')) return false;
        at = end + (i < 4 ? 1 : 0);
    }
    if (numbers[2] <= numbers[0] || numbers[3] <= numbers[1] || (numbers[4] != 0 && numbers[4] != 1)) return false;
    *place = {{numbers[0], numbers[1], numbers[2], numbers[3]}, numbers[4] == 1, true};
    return true;
}

std::string FormatWindowPlace(const WindowPlace& place) {
    const RECT& r = place.normal;
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + "," + (place.maximised ? "1" : "0");
}
