#include "app/program_file.h"

#include <windows.h>

#include <cstring>

#include "app/exe_path.h"
#include "settings/app_names.h"
#include "settings/program_preset.h"
#include "settings/site_address.h"

namespace {

// The preset: RCDATA 3, beside the embedded loader (2).
const wchar_t* const kPresetName = MAKEINTRESOURCEW(3);
// The language the resource compiler gave this exe's own resources.
const WORD kLanguage = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

WORD WordAt(const std::string& bytes, size_t at) {
    return static_cast<WORD>(static_cast<BYTE>(bytes[at]) | static_cast<BYTE>(bytes[at + 1]) << 8);
}
DWORD DwordAt(const std::string& bytes, size_t at) { return WordAt(bytes, at) | DWORD(WordAt(bytes, at + 2)) << 16; }
void PutDword(std::string& bytes, size_t at, DWORD value) { memcpy(&bytes[at], &value, sizeof value); }

bool Put(HANDLE update, const wchar_t* type, const wchar_t* name, const std::string& bytes) {
    return UpdateResourceW(update, type, name, kLanguage, const_cast<char*>(bytes.data()),
                           static_cast<DWORD>(bytes.size()));
}

// This exe's resources copied into the copy, all but those the program gets
// its own of: its preset and version block, and its icon when it has one.
// (The copy starts with none: Wine keeps resources it is told to delete.)
struct ResourceCopy {
    HANDLE update;
    bool ownIcon;
    bool copied = true;
};

bool IsOwnOfProgram(const ResourceCopy& copy, const wchar_t* type, const wchar_t* name) {
    if (!IS_INTRESOURCE(type)) return false;
    return type == RT_VERSION || (type == RT_RCDATA && name == kPresetName) ||
           (copy.ownIcon && (type == RT_ICON || type == RT_GROUP_ICON));
}

BOOL CALLBACK CopyLanguage(HMODULE, LPCWSTR type, LPCWSTR name, WORD language, LONG_PTR param) {
    auto& copy = *reinterpret_cast<ResourceCopy*>(param);
    HRSRC found = FindResourceExW(nullptr, type, name, language);
    HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
    void* data = loaded ? LockResource(loaded) : nullptr;
    copy.copied = data && UpdateResourceW(copy.update, type, name, language, data, SizeofResource(nullptr, found));
    return copy.copied;
}

BOOL CALLBACK CopyName(HMODULE, LPCWSTR type, LPWSTR name, LONG_PTR param) {
    auto& copy = *reinterpret_cast<ResourceCopy*>(param);
    if (!IsOwnOfProgram(copy, type, name)) EnumResourceLanguagesW(nullptr, type, name, CopyLanguage, param);
    return copy.copied;
}

BOOL CALLBACK CopyType(HMODULE, LPWSTR type, LONG_PTR param) {
    EnumResourceNamesW(nullptr, type, CopyName, param);
    return reinterpret_cast<ResourceCopy*>(param)->copied;
}

bool CopyResources(HANDLE update, bool ownIcon) {
    ResourceCopy copy = {update, ownIcon};
    EnumResourceTypesW(nullptr, CopyType, reinterpret_cast<LONG_PTR>(&copy));
    return copy.copied;
}

// The .ico's images as RT_ICON 1, 2, ... and icon group 1 naming them: the
// group's entries are the file's, but end in the image's id instead of its
// offset in the file.
bool PutIcon(HANDLE update, const std::string& ico) {
    std::string group = ico.substr(0, 6);
    for (WORD i = 0, count = WordAt(ico, 4); i < count; ++i) {
        size_t entry = 6 + 16u * i;
        WORD id = i + 1;
        if (!Put(update, RT_ICON, MAKEINTRESOURCEW(id), ico.substr(DwordAt(ico, entry + 12), DwordAt(ico, entry + 8))))
            return false;
        group.append(ico, entry, 12).append(reinterpret_cast<const char*>(&id), sizeof id);
    }
    return Put(update, RT_GROUP_ICON, MAKEINTRESOURCEW(1), group);
}

size_t Up4(size_t n) { return (n + 3) & ~size_t(3); }
void Pad4(std::string* bytes) { bytes->resize(Up4(bytes->size()), '\0'); }

// A program's own version block: every text of this exe's in turn
// (resources/velotide.rc.in lists them: CompanyName, FileDescription,
// FileVersion, InternalName, OriginalFilename, ProductName, ProductVersion)
// and its version numbers.
struct OwnVersion {
    const wchar_t* texts[7];
    const WORD* numbers;  // the file's and the product's version, 4 numbers
    size_t next = 0;      // the text that comes next
};

// Copies the version block's node at `at` (and its children) to out, with
// the program's own texts and, in the fixed part, its own version numbers.
// Each node: its length (children included), its value's length (in
// characters for a text), its type (1 text, 0 binary), its key (UTF-16,
// ending in 0), the value and the children, each of the last three starting
// at a 4-byte boundary. False when the block doesn't parse so.
bool CopyVersionNode(const std::string& in, size_t at, OwnVersion& own, std::string* out) {
    if (at + 6 > in.size()) return false;
    const WORD length = WordAt(in, at), valueLength = WordAt(in, at + 2), type = WordAt(in, at + 4);
    const size_t end = at + length;
    size_t keyEnd = at + 6;
    while (keyEnd + 1 < end && WordAt(in, keyEnd)) keyEnd += 2;
    if (length < 6 || end > in.size() || keyEnd + 1 >= end) return false;
    const size_t valueAt = Up4(keyEnd + 2), valueBytes = type == 1 ? valueLength * 2u : valueLength;
    if (valueBytes && valueAt + valueBytes > end) return false;

    const size_t start = out->size();
    out->append(6, '\0');  // the head, once the length is known
    out->append(in, at + 6, keyEnd + 2 - (at + 6));
    Pad4(out);
    WORD newValueLength = valueLength;
    const size_t value = out->size();
    if (const wchar_t* text = type == 1 && valueLength && own.next < 7 ? own.texts[own.next++] : nullptr) {
        newValueLength = static_cast<WORD>(wcslen(text) + 1);
        out->append(reinterpret_cast<const char*>(text), newValueLength * 2);
    } else if (valueBytes) {
        out->append(in, valueAt, valueBytes);
    }
    // The fixed part (VS_FIXEDFILEINFO) after its signature and structure
    // version: the file's version, then the product's, each high word first.
    if (at == 0 && valueBytes >= 24)
        for (size_t i = 0; i < 4; ++i)
            PutDword(*out, value + 8 + 4 * i, DWORD(own.numbers[i % 2 * 2]) << 16 | own.numbers[i % 2 * 2 + 1]);
    for (size_t child = Up4(valueAt + valueBytes); child < end; child = Up4(child + WordAt(in, child))) {
        Pad4(out);
        if (!CopyVersionNode(in, child, own, out)) return false;
    }
    if (out->size() - start > 0xFFFF) return false;
    const WORD head[3] = {static_cast<WORD>(out->size() - start), newValueLength, type};
    memcpy(&(*out)[start], head, sizeof head);
    return true;
}

bool PutVersion(HANDLE update, const ProgramPreset& preset, const ProgramVersion& version) {
    const std::wstring id = ProgramId(preset.name, SiteOrigin(preset.siteUrl)), file = id + L".exe",
                       host = SiteHost(preset.siteUrl);
    const wchar_t *name = preset.name.c_str(), *text = version.text;
    OwnVersion own = {{*version.publisher ? version.publisher : host.c_str(), name, text, id.c_str(), file.c_str(), name,
                       text},
                      version.numbers};
    std::string block;
    return CopyVersionNode(ExeResource(nullptr, MAKEINTRESOURCEW(VS_VERSION_INFO), RT_VERSION), 0, own, &block) &&
           Put(update, RT_VERSION, MAKEINTRESOURCEW(VS_VERSION_INFO), block);
}

// Where the optional header at `optional` keeps the data directory's entry
// index (its address, then its size).
size_t DirectoryEntry(const std::string& bytes, size_t optional, int index) {
    return optional + (WordAt(bytes, optional) == IMAGE_NT_OPTIONAL_HDR64_MAGIC ? 112 : 96) + 8 * index;
}

// Zeroes the time stamps of the resource directory at `at` and of those
// below it (three levels: type, name, language).
void ZeroDirectoryStamps(std::string& file, size_t root, size_t at, int level) {
    if (level > 3 || at + 16 > file.size()) return;
    PutDword(file, at + 4, 0);
    size_t entries = WordAt(file, at + 12) + WordAt(file, at + 14);
    for (size_t i = 0; i < entries && at + 16 + 8 * i + 8 <= file.size(); ++i) {
        DWORD offset = DwordAt(file, at + 16 + 8 * i + 4);
        if (offset & 0x80000000u) ZeroDirectoryStamps(file, root, root + (offset & 0x7FFFFFFFu), level + 1);
    }
}

// The checksum as Windows computes it: the file's 16-bit words summed with
// the carries folded in, the checksum's own field left out, plus the length.
DWORD PeChecksum(const std::string& file, size_t field) {
    UINT64 sum = 0;
    for (size_t i = 0; i < file.size(); i += 2) {
        if (i == field || i == field + 2) continue;
        sum += static_cast<BYTE>(file[i]) | (i + 1 < file.size() ? static_cast<BYTE>(file[i + 1]) << 8 : 0);
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    return static_cast<DWORD>(((sum & 0xFFFF) + (sum >> 16)) + file.size());
}

// What EndUpdateResourceW leaves in the header differs: Wine keeps the time
// stamp and the now stale checksum; Windows may stamp the file or the
// resource directories with the time. Whatever it wrote, the copy gets this
// exe's time stamp (none: the linker writes 0), resource directories
// stamped 0 as the resource compiler writes them, and a true checksum, so the
// same inputs give the same bytes.
bool SettleHeader(std::string& bytes, size_t pe) {
    const size_t optional = pe + 24, sections = optional + WordAt(bytes, pe + 20);
    const DWORD resources = DwordAt(bytes, DirectoryEntry(bytes, optional, IMAGE_DIRECTORY_ENTRY_RESOURCE));
    const auto* own = reinterpret_cast<const BYTE*>(GetModuleHandleW(nullptr));
    const auto* ownHeaders =
        reinterpret_cast<const IMAGE_NT_HEADERS*>(own + reinterpret_cast<const IMAGE_DOS_HEADER*>(own)->e_lfanew);
    PutDword(bytes, pe + 8, ownHeaders->FileHeader.TimeDateStamp);
    for (size_t i = 0, count = WordAt(bytes, pe + 6); i < count && sections + 40 * (i + 1) <= bytes.size(); ++i) {
        size_t section = sections + 40 * i;
        DWORD address = DwordAt(bytes, section + 12), raw = DwordAt(bytes, section + 16);
        if (resources >= address && resources - address < raw) {
            size_t root = DwordAt(bytes, section + 20) + (resources - address);
            ZeroDirectoryStamps(bytes, root, root, 1);
        }
    }
    PutDword(bytes, optional + 64, PeChecksum(bytes, optional + 64));
    return true;
}

// A signed exe's certificate table (which Authenticode puts at the file's
// end) and the header's entry for it: the new resources would break the
// signature, and the owner's own goes there. A table elsewhere is refused.
bool DropSignature(std::string& bytes, size_t pe) {
    const size_t entry = DirectoryEntry(bytes, pe + 24, IMAGE_DIRECTORY_ENTRY_SECURITY);
    const size_t table = DwordAt(bytes, entry), size = DwordAt(bytes, entry + 4);
    if (!size) return true;
    if (table > bytes.size() || bytes.size() - table != size) return false;
    bytes.resize(table);
    PutDword(bytes, entry, 0);
    PutDword(bytes, entry + 4, 0);
    return true;
}

// The file at path read whole, changed by change (DropSignature, or once its
// resources are written SettleHeader) given where its PE header is, and
// written back at the length it has then; false when any of it fails.
bool ChangeFile(const wchar_t* path, bool (*change)(std::string& bytes, size_t pe)) {
    HANDLE file = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size, start = {};
    std::string bytes;
    DWORD done = 0;
    bool changed = GetFileSizeEx(file, &size) && size.QuadPart >= 0x200 && size.QuadPart <= 0x10000000;
    if (changed) bytes.resize(static_cast<size_t>(size.QuadPart));
    changed = changed && ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) &&
              done == bytes.size();
    const size_t pe = changed ? DwordAt(bytes, 0x3C) : 0;
    changed = changed && pe <= bytes.size() - 0x108 && DwordAt(bytes, pe) == IMAGE_NT_SIGNATURE && change(bytes, pe) &&
              SetFilePointerEx(file, start, nullptr, FILE_BEGIN) &&
              WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) &&
              done == bytes.size() && SetEndOfFile(file) && FlushFileBuffers(file);
    return CloseHandle(file) && changed;
}

// The error the last call left; one of its own for a call that left none
// (a version block that doesn't parse, say).
DWORD LastError() {
    DWORD code = GetLastError();
    return code ? code : ERROR_INVALID_DATA;
}

// Copies exe to temp and updates the copy's resources; ERROR_SUCCESS once
// the copy is complete, else what failed.
DWORD MakeUpdatedCopy(const std::wstring& exe, const wchar_t* temp, const ProgramPreset& preset,
                      const std::string& icon, const ProgramVersion& version) {
    if (!CopyFileW(exe.c_str(), temp, FALSE) || !SetFileAttributesW(temp, FILE_ATTRIBUTE_NORMAL) ||
        !ChangeFile(temp, DropSignature))
        return LastError();
    HANDLE update = BeginUpdateResourceW(temp, TRUE);
    if (!update) return LastError();
    bool updated = CopyResources(update, !icon.empty()) && Put(update, RT_RCDATA, kPresetName, PresetText(preset)) &&
                   (icon.empty() || PutIcon(update, icon)) && PutVersion(update, preset, version);
    DWORD code = updated ? ERROR_SUCCESS : LastError();
    // Nothing is written to the copy unless every update was taken.
    if (!EndUpdateResourceW(update, !updated) && !code) code = LastError();
    if (!code && !ChangeFile(temp, SettleHeader)) code = LastError();
    return code;
}

// Windows' words for an error, on one line.
std::wstring SystemMessage(DWORD code) {
    wchar_t text[512] = L"";
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text, ARRAYSIZE(text),
                   nullptr);
    std::wstring message = text;
    for (wchar_t& c : message)
        if (c == L'\r' || c == L'\n') c = L' ';
    while (!message.empty() && (message.back() == L' ' || message.back() == L'.')) message.pop_back();
    return message.empty() ? L"Windows gave no reason" : message;
}

}  // namespace

bool WriteProgramFile(const std::wstring& out, const ProgramPreset& preset, const std::string& icon,
                      std::wstring* error, const ProgramVersion& version) {
    const std::wstring exe = ThisExePath();
    wchar_t full[MAX_PATH], temp[MAX_PATH];
    wchar_t* name = nullptr;
    DWORD length = GetFullPathNameW(out.c_str(), MAX_PATH, full, &name);
    DWORD code = ERROR_SUCCESS;
    if (exe.empty() || !length || length >= MAX_PATH || !name ||
        !GetTempFileNameW(std::wstring(full, name).c_str(), L"vtd", 0, temp)) {
        code = length >= MAX_PATH ? ERROR_FILENAME_EXCED_RANGE : LastError();
    } else {
        code = MakeUpdatedCopy(exe, temp, preset, icon, version);
        if (!code && !MoveFileExW(temp, full, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) code = LastError();
        if (code) DeleteFileW(temp);
    }
    if (code) *error = L"Could not write \u201C" + out + L"\u201D: " + SystemMessage(code) + L".";
    return !code;
}

bool ParseProgramVersion(const std::wstring& text, ProgramVersion* version) {
    size_t count = 0;
    DWORD number = 0;
    bool digit = false;  // since the last dot
    for (size_t i = 0; i <= text.size(); ++i) {
        const wchar_t c = i < text.size() ? text[i] : L'.';
        if (c == L'.' && digit && count < 4) {
            version->numbers[count++] = static_cast<WORD>(number);
            number = digit = 0;
        } else if (c >= L'0' && c <= L'9' && (number = number * 10 + (c - L'0')) <= 0xFFFF) {
            digit = true;
        } else {
            return false;
        }
    }
    version->text = text.c_str();
    return true;
}

OwnPreset ReadOwnPreset(ProgramPreset* preset) {
    if (!FindResourceW(nullptr, kPresetName, RT_RCDATA)) return OwnPreset::kNone;
    return ReadPreset(ExeResource(nullptr, kPresetName, RT_RCDATA), preset) ? OwnPreset::kRead : OwnPreset::kDamaged;
}
