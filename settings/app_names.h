// What names a site app or a site's own program: its id, made from the name
// the person gives it, and that name as a file name (its Start menu shortcut,
// a program's exe).
#pragma once

#include <string>

// 1 to 40 characters of a-z, 0-9 and "-", not beginning with "-".
inline constexpr size_t kMaxAppIdLength = 40;
bool IsValidAppId(const std::wstring& id);

// The id for name: lower case, accents dropped, letters and digits kept and
// every other run as one "-"; "app" when nothing is left. Made unique with
// "-2", "-3", ... against the ids taken says are in use.
std::wstring AppIdFromName(const std::wstring& name, bool (*taken)(const std::wstring& id));

// name as a file name Windows takes: characters a file name can't hold
// dropped, no trailing dots or spaces, a device name (CON, COM1, ...) made
// safe; fallback when nothing is left.
std::wstring ShortcutFileName(const std::wstring& name, const std::wstring& fallback);

// Whether stem (a file name before its first dot, in any case) names a
// device: CON, PRN, AUX, NUL, COM1-9, LPT1-9. Such a file opens the device.
bool IsDeviceName(std::wstring stem);

// What keeps name from being a site's own program's name, which is its
// window's title and gives its id (its folder, its names in Windows):
// nothing, or too long, a control character, no letter or digit (no id of
// its own), or an id that is a device name. asFileName adds what a file
// name can't be (--make-program names the exe after it, as site owners do).
inline constexpr size_t kMaxProgramNameLength = 64;  // as long as a site app's name may be
enum class NameFault { kNone, kEmpty, kTooLong, kControl, kNoLetterOrDigit, kDevice, kNotAFileName };
NameFault ProgramNameFault(const std::wstring& name, bool asFileName);
// The id of a program named name (no other program's id counts: each has
// its own exe).
std::wstring ProgramIdFromName(const std::wstring& name);
