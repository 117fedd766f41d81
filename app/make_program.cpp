#include "app/make_program.h"

#include <windows.h>
#include <objbase.h>
#include <shobjidl.h>

#include "app/app_icon.h"
#include "app/app_state.h"
#include "app/com_ref.h"
#include "app/exe_path.h"
#include "app/program_file.h"
#include "settings/allowed_origins.h"
#include "settings/app_names.h"
#include "settings/config_store.h"
#include "settings/site_address.h"

namespace {

// The standard save dialog's class id, here rather than from the uuid library.
const CLSID kFileSaveDialog = {0xC0B4E2F3, 0xBA21, 0x4773, {0x8D, 0xBA, 0x33, 0x5E, 0xC9, 0x46, 0xEB, 0x8B}};
static_assert(kMaxProgramNameLength == 64, "the name's fault says 64");
static_assert(kMaxIconFileBytes == 4 << 20, "the icon's fault says 4 MB");
static_assert(kMaxIconImages == 64, "the icon's fault says 64 images");

std::wstring Quoted(const std::wstring& text) { return L"\u201C" + text + L"\u201D"; }

// The fault goes to the standard error the program was handed (a pipe, a
// file), else to the console of the program that started it (a GUI program
// gets none of its own), else, started with neither, into a message box.
int SayFault(const std::wstring& line) {
    HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    if ((!error || error == INVALID_HANDLE_VALUE) && AttachConsole(ATTACH_PARENT_PROCESS)) {
        error = GetStdHandle(STD_ERROR_HANDLE);
        if (!error || error == INVALID_HANDLE_VALUE)
            error = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    }
    DWORD mode, written;
    if (!error || error == INVALID_HANDLE_VALUE) {
        MessageBoxW(nullptr, line.c_str(), L"Velotide", MB_ICONERROR);
    } else if (GetConsoleMode(error, &mode)) {
        std::wstring text = line + L"\r\n";
        WriteConsoleW(error, text.c_str(), static_cast<DWORD>(text.size()), &written, nullptr);
    } else {
        std::string bytes = WideToUtf8(line + L"\n");
        WriteFile(error, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }
    return 2;
}

std::wstring NameFaultText(NameFault fault, const std::wstring& name) {
    switch (fault) {
    case NameFault::kNone:
        break;
    case NameFault::kEmpty:
        return L"--name is needed: the program's name, as its window and Windows show it.";
    case NameFault::kTooLong:
        return L"The name is longer than 64 characters.";
    case NameFault::kControl:
        return L"The name holds a control character (a line break or a tab, say).";
    case NameFault::kNoLetterOrDigit:
        return L"The name needs a letter or a digit: Windows knows the program by them.";
    case NameFault::kDevice:
        return Quoted(name) + L" is a name Windows keeps for a device.";
    case NameFault::kNotAFileName:
        return L"The name is the program's file name too: it can't hold \\ / : * ? \" < > | or end in a dot.";
    }
    return L"";
}

// The icon file as an .ico file's bytes (a PNG made into the icon's sizes);
// the fault in one line, empty when there is none.
std::wstring ReadIcon(const std::wstring& path, std::string* ico) {
    size_t dot = path.rfind(L'.');
    std::wstring extension = LowerCase(dot == std::wstring::npos ? L"" : path.substr(dot));
    if (extension != L".png" && extension != L".ico")
        return L"--icon takes an .ico or .png file, not " + Quoted(path) + L".";
    static const char* const kFaults[] = {  // an .ico's, in IconFault's order
        "is not an .ico file Windows can read.", "holds more than 64 images.", "lies outside the file.",
        "lies over another or the directory.", "is not a PNG or a bitmap of its entry's size Windows can read."};
    std::string bytes;
    const char* fault = nullptr;
    unsigned image = 0;  // the image at fault, from 1; 0 for the file
    IconFileRead read = ReadIconFileBytes(path, &bytes);
    if (read != IconFileRead::kRead) {
        fault = read == IconFileRead::kTooLarge ? "is larger than 4 MB." : "can't be read.";
    } else if (extension == L".ico") {
        IconFault found = IconFileFault(bytes, &image);
        if (found == IconFault::kNone)
            *ico = bytes;
        else
            fault = kFaults[static_cast<int>(found) - 1];
    } else if (!IsPng(bytes.data(), bytes.size()) || !IconFromImage(bytes, ico)) {
        fault = "is not a PNG image Windows can read.";
    }
    if (!fault) return L"";
    wchar_t head[32];
    wsprintfW(head, image ? L"Image %u of the icon \u201C" : L"The icon \u201C", image);
    std::wstring text = head;
    text += path;
    text += L"\u201D ";
    text += Utf8ToWide(fault);
    return text;
}

// --publisher and --version read into version, as the program's version
// block says them; the fault, when one has one.
const wchar_t* ProgramVersionFault(const ProgramRequest& request, ProgramVersion* version) {
    if (!request.version.empty() && !ParseProgramVersion(request.version, version))
        return L"--version takes 1 to 4 numbers up to 65535: 2.1.0.7, say.";
    // What a name can't have, a publisher can't either.
    NameFault fault = ProgramNameFault(request.publisher, false);
    if (fault == NameFault::kTooLong || fault == NameFault::kControl)
        return L"--publisher takes up to 64 characters, no control ones.";
    version->publisher = request.publisher.c_str();
    return nullptr;
}

// The standard save dialog, NAME.exe to start with; the file chosen, empty
// when the person cancelled.
std::wstring AskWhereToSave(const std::wstring& name) {
    ComRef<IFileSaveDialog> dialog;
    const COMDLG_FILTERSPEC types[] = {{L"Programs (*.exe)", L"*.exe"}};
    ComRef<IShellItem> item;
    LPWSTR path = nullptr;
    if (FAILED(CoCreateInstance(kFileSaveDialog, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IFileSaveDialog),
                                dialog.out())) ||
        FAILED(dialog->SetFileTypes(1, types)) || FAILED(dialog->SetDefaultExtension(L"exe")) ||
        FAILED(dialog->SetFileName((ShortcutFileName(name, L"program") + L".exe").c_str())) ||
        FAILED(dialog->SetTitle((L"Save " + name + L" as a program file").c_str())) ||
        FAILED(dialog->Show(g_app.mainWindow)) || FAILED(dialog->GetResult(&item)) ||
        FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, &path)))
        return L"";
    std::wstring chosen = path;
    CoTaskMemFree(path);
    return chosen;
}

}  // namespace

int MakeProgram(const ProgramRequest& request) {
    if (!request.fault.empty()) return SayFault(request.fault);
    if (request.out.empty())
        return SayFault(
            L"--make-program needs the file to write first: --make-program OUT.exe --url ADDRESS --name NAME");
    ProgramPreset preset;
    preset.siteUrl = request.url;
    if (request.url.empty()) return SayFault(L"--url is needed: the site's address.");
    if (!NormalizeSiteAddress(preset.siteUrl))
        return SayFault(Quoted(request.url) + L" is not a site's address: an http or https address is.");
    size_t first = request.name.find_first_not_of(L' '), last = request.name.find_last_not_of(L' ');
    preset.name = first == std::wstring::npos ? L"" : request.name.substr(first, last - first + 1);
    if (NameFault fault = ProgramNameFault(preset.name, true); fault != NameFault::kNone)
        return SayFault(NameFaultText(fault, preset.name));
    for (const std::wstring& origin : request.allow) {
        std::wstring address = origin;
        if (!NormalizeSiteAddress(address))
            return SayFault(L"--allow " + Quoted(origin) + L" is not a site's address.");
        AddAllowedOrigin(preset.allowedOrigins, address);
    }
    const std::wstring& answer = request.notifications;
    if (answer == L"allow")
        preset.notifications = NotificationsAnswer::kAllow;
    else if (answer == L"block")
        preset.notifications = NotificationsAnswer::kBlock;
    else if (!answer.empty() && answer != L"ask")
        return SayFault(L"--notifications takes allow, block or ask, not " + Quoted(answer) + L".");
    std::string icon;
    if (!request.icon.empty()) {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // for WIC; it ends with the process
        if (std::wstring fault = ReadIcon(request.icon, &icon); !fault.empty()) return SayFault(fault);
    }
    ProgramVersion version;
    if (const wchar_t* fault = ProgramVersionFault(request, &version)) return SayFault(fault);
    if (IsThisExe(request.out))
        return SayFault(Quoted(request.out) + L" is this program itself: write the new program to another file.");
    std::wstring error;
    return WriteProgramFile(request.out, preset, icon, &error, version) ? 0 : SayFault(error);
}

void SaveAsProgramFile() {
    ProgramPreset preset;
    preset.name = g_app.appName;
    preset.siteUrl = g_app.siteUrl;
    preset.allowedOrigins = g_app.allowedOrigins;
    std::wstring fault;
    if (NameFault nameFault = ProgramNameFault(preset.name, false); nameFault != NameFault::kNone) {
        fault = NameFaultText(nameFault, preset.name);
    } else if (!preset.siteUrl.empty()) {
        std::wstring out = AskWhereToSave(preset.name);
        if (out.empty()) return;
        // Its icon as the app has it; without one (or a damaged one), this exe's.
        std::string icon;
        unsigned image;
        if (ReadIconFileBytes(g_app.dataDir + L"\\icon.ico", &icon) != IconFileRead::kRead ||
            IconFileFault(icon, &image) != IconFault::kNone)
            icon.clear();
        if (IsThisExe(out))
            fault = Quoted(out) + L" is this program itself: save the new program to another file.";
        else
            WriteProgramFile(out, preset, icon, &fault);
    }
    if (fault.empty()) return;
    MessageBoxW(g_app.mainWindow, (L"Velotide could not save " + preset.name + L" as a program file. " + fault).c_str(),
                L"Velotide", MB_ICONERROR);
}
