#include "app/app_shortcut.h"

#include <windows.h>
#include <shlobj.h>
#include <propsys.h>

#include "app/com_ref.h"
#include "settings/app_names.h"

// The shell's link class and the property the taskbar groups by, here
// rather than from the uuid library.
static const CLSID kShellLink = {0x00021401, 0, 0, {0xc0, 0, 0, 0, 0, 0, 0, 0x46}};
static const PROPERTYKEY kAppUserModelId = {
    {0x9f4c2855, 0x9f79, 0x4b39, {0xa8, 0xd0, 0xe1, 0xd4, 0x2d, 0xe1, 0xd5, 0xf3}}, 5};

std::wstring StartMenuShortcutPath(const std::wstring& name, const std::wstring& fallback) {
    wchar_t folder[MAX_PATH];
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, folder))) return {};
    return std::wstring(folder) + L"\\" + ShortcutFileName(name, fallback) + L".lnk";
}

bool WriteShortcut(const std::wstring& path, const Shortcut& shortcut) {
    ComRef<IShellLinkW> link;
    ComRef<IPropertyStore> properties;
    ComRef<IPersistFile> file;
    PROPVARIANT id = {};
    id.vt = VT_LPWSTR;
    id.pwszVal = const_cast<wchar_t*>(shortcut.appUserModelId.c_str());
    return SUCCEEDED(CoCreateInstance(kShellLink, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IShellLinkW),
                                      link.out())) &&
           SUCCEEDED(link->SetPath(shortcut.target.c_str())) &&
           SUCCEEDED(link->SetArguments(shortcut.arguments.c_str())) &&
           SUCCEEDED(link->SetIconLocation(shortcut.icon.c_str(), 0)) &&
           SUCCEEDED(link->SetDescription(shortcut.description.c_str())) &&
           SUCCEEDED(link->QueryInterface(__uuidof(IPropertyStore), properties.out())) &&
           SUCCEEDED(properties->SetValue(kAppUserModelId, id)) && SUCCEEDED(properties->Commit()) &&
           SUCCEEDED(link->QueryInterface(__uuidof(IPersistFile), file.out())) &&
           SUCCEEDED(file->Save(path.c_str(), TRUE));
}

bool ReadShortcut(const std::wstring& path, Shortcut* shortcut) {
    ComRef<IShellLinkW> link;
    ComRef<IPropertyStore> properties;
    ComRef<IPersistFile> file;
    wchar_t target[MAX_PATH], arguments[INFOTIPSIZE], icon[MAX_PATH], description[INFOTIPSIZE];
    int iconIndex;
    PROPVARIANT id = {};
    if (FAILED(CoCreateInstance(kShellLink, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IShellLinkW), link.out())) ||
        FAILED(link->QueryInterface(__uuidof(IPersistFile), file.out())) ||
        FAILED(file->Load(path.c_str(), STGM_READ)) ||
        // The path as stored: resolving would look for a moved exe.
        FAILED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH)) ||
        FAILED(link->GetArguments(arguments, INFOTIPSIZE)) ||
        FAILED(link->GetIconLocation(icon, MAX_PATH, &iconIndex)) ||
        FAILED(link->GetDescription(description, INFOTIPSIZE)))
        return false;
    // A store that can't be read (Wine keeps no properties in a shortcut)
    // gives no id, as a shortcut without one does.
    if (SUCCEEDED(link->QueryInterface(__uuidof(IPropertyStore), properties.out())))
        properties->GetValue(kAppUserModelId, &id);
    *shortcut = {target, arguments, icon, id.vt == VT_LPWSTR ? id.pwszVal : L"", description};
    PropVariantClear(&id);
    return true;
}

bool DeleteShortcut(const std::wstring& path) {
    if (DeleteFileW(path.c_str())) return true;
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}
