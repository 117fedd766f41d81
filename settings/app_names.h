// What names a site app or a site's own program: its id, made from the name
// the person gives it, and that name as a file name (its Start menu shortcut,
// a program's exe).
#pragma once

#include <string>

// Whether Windows takes name as a device (CON, PRN, AUX, NUL, COM1 to COM9,
// LPT1 to LPT9, in any case), alone or before an extension: a file or folder
// of that name can't be made.
bool IsDeviceName(const std::wstring& name);

// 1 to 40 characters of a-z, 0-9 and "-", not beginning with "-", and not a
// device name.
inline constexpr size_t kMaxAppIdLength = 40;
bool IsValidAppId(const std::wstring& id);

// The id for name: lower case, accents dropped, letters and digits kept and
// every other run as one "-"; "app" when nothing is left, "-app" added to a
// device name. Made unique with
// "-2", "-3", ... against the ids taken says are in use.
std::wstring AppIdFromName(const std::wstring& name, bool (*taken)(const std::wstring& id));

// name as a file name Windows takes: characters a file name can't hold
// dropped, no trailing dots or spaces, a device name (CON, COM1, ...) made
// safe; fallback when nothing is left.
std::wstring ShortcutFileName(const std::wstring& name, const std::wstring& fallback);

// What keeps name from being a site's own program's name, which is its
// window's title and gives its id (its folder, its names in Windows):
// nothing, or too long, a control character, or no letter or digit (no id of
// its own). asFileName adds what a file name can't be, a device name
// included (--make-program names the exe after it, as site owners do).
inline constexpr size_t kMaxProgramNameLength = 64;  // as long as a site app's name may be
enum class NameFault { kNone, kEmpty, kTooLong, kControl, kNoLetterOrDigit, kDevice, kNotAFileName };
NameFault ProgramNameFault(const std::wstring& name, bool asFileName);
// The id of a program named name for the site origin (no other program's id
// counts: each has its own exe): the name's id, then "-" and eight hex digits
// of a hash of the origin, so that two owners' programs of one name never
// share a folder, settings, sign-in or instance. Without an origin, the
// name's id alone: the id of a program made before ids took in the site,
// under which its people's sign-in is kept. The same inputs always give the
// same id: a program's people keep their sign-in only while they do.
std::wstring ProgramId(const std::wstring& name, const std::wstring& origin);
