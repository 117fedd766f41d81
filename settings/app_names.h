// What names a site app: its id, made from the name the person gives it, and
// that name as a file name for its Start menu shortcut.
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
