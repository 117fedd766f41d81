// The project's WebView2Loader.dll: where it looks for the runtime, what it
// hands the runtime's client library, and its place in velotide.exe. A probe
// library stands in for EmbeddedBrowserWebView.dll inside runtime folder
// layouts built in a scratch folder, advertised through the loader's argument,
// the environment variable or EdgeUpdate registry keys.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "tests/loader_probe/probe_record.h"
#include "tests/support/registry_override.h"
#include "tests/support/test_support.h"
#include "webview/engine.h"

namespace {

using CreateEnvironmentFn = decltype(&CreateCoreWebView2EnvironmentWithOptions);

const HRESULT kNotFound = HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
const wchar_t kVersion[] = L"130.0.2849.80";
const wchar_t kClientDll[] = L"\\EBWebView\\x64\\EmbeddedBrowserWebView.dll";
const wchar_t kFolderVariable[] = L"WEBVIEW2_BROWSER_EXECUTABLE_FOLDER";
const wchar_t kUserDataVariable[] = L"WEBVIEW2_USER_DATA_FOLDER";
const wchar_t kPreferenceVariable[] = L"WEBVIEW2_RELEASE_CHANNEL_PREFERENCE";
const wchar_t kArgumentsVariable[] = L"WEBVIEW2_ADDITIONAL_BROWSER_ARGUMENTS";
const wchar_t kUserData[] = L"C:\\velotide-data\\WebView2";

enum Channel { Stable, Beta, Dev, Canary };
const wchar_t* const kChannelKeys[] = {
    L"Software\\Microsoft\\EdgeUpdate\\ClientState\\{F3017226-FE2A-4295-8BDF-00C3A9A7E4C5}",
    L"Software\\Microsoft\\EdgeUpdate\\ClientState\\{2CD8A007-E189-409D-A2C8-9AF4EF3C72AA}",
    L"Software\\Microsoft\\EdgeUpdate\\ClientState\\{0D50BFEC-CD6A-4F9A-964C-C7416E3ACB10}",
    L"Software\\Microsoft\\EdgeUpdate\\ClientState\\{65C35B14-6C1D-4122-AC46-7148CC9D6497}",
};

std::wstring LoaderPath() { return WinPathFromUnix(VELOTIDE_LOADER_UNIX_PATH); }

// Sets (or, with null, removes) an environment variable of this process and
// puts the old value back afterwards.
class EnvOverride {
public:
    EnvOverride(const wchar_t* name, const wchar_t* value) : name_(name) {
        wchar_t old[2048];
        DWORD n = GetEnvironmentVariableW(name, old, ARRAYSIZE(old));
        had_ = n > 0 && n < ARRAYSIZE(old);
        if (had_) old_ = old;
        SetEnvironmentVariableW(name, value);
    }
    ~EnvOverride() { SetEnvironmentVariableW(name_, had_ ? old_.c_str() : nullptr); }
    EnvOverride(const EnvOverride&) = delete;
    EnvOverride& operator=(const EnvOverride&) = delete;

private:
    const wchar_t* name_;
    bool had_ = false;
    std::wstring old_;
};

// The bytes of a REG_SZ value.
std::string StringBytes(const std::wstring& text) {
    return std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(wchar_t));
}

// Handler stand-in that counts every call made on it: neither the loader nor
// the probe may touch it.
class CountingHandler : public ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        ++calls;
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override {
        ++calls;
        return 2;
    }
    ULONG STDMETHODCALLTYPE Release() override {
        ++calls;
        return 1;
    }
    HRESULT STDMETHODCALLTYPE Invoke(HRESULT, ICoreWebView2Environment*) override {
        ++calls;
        return S_OK;
    }
    int calls = 0;
};

// Named: a folder that only a setting of the test names.
enum class Where { Argument, EnvVar, MachineKey32, MachineKey64, UserKey, Named };
enum class Dll { Probe, Missing, NotARuntime };

struct Install {
    Where where;
    Channel channel;  // registry installs only
    const wchar_t* name;
    Dll dll;
};

class LoaderTest : public testing::Test {
protected:
    void SetUp() override {
        loader_ = LoadLibraryW(LoaderPath().c_str());
        ASSERT_NE(loader_, nullptr);
        create_ = reinterpret_cast<CreateEnvironmentFn>(
            reinterpret_cast<void*>(GetProcAddress(loader_, "CreateCoreWebView2EnvironmentWithOptions")));
        ASSERT_NE(create_, nullptr);
    }
    void TearDown() override {
        // Last first: a later registration may sit inside keys an earlier one created.
        while (!registryValues_.empty()) registryValues_.pop_back();
        // The loader keeps a runtime it called loaded for good; drop its one
        // reference so that the scratch folder can be removed.
        for (const std::wstring& folder : folders_)
            if (HMODULE module = GetModuleHandleW((folder + kClientDll).c_str())) FreeLibrary(module);
        FreeLibrary(loader_);
    }

    // A runtime folder layout at scratch\<unique>\<name> holding the probe,
    // nothing, or a library without the entry point.
    std::wstring MakeRuntime(const std::wstring& name, Dll dll) {
        std::wstring base = scratch_ / std::to_wstring(folders_.size());
        std::wstring folder = base + L"\\" + name;
        for (const std::wstring& dir : {base, folder, folder + L"\\EBWebView", folder + L"\\EBWebView\\x64"})
            CreateDirectoryW(dir.c_str(), nullptr);
        std::wstring source = dll == Dll::Probe ? WinPathFromUnix(VELOTIDE_PROBE_UNIX_PATH) : LoaderPath();
        if (dll != Dll::Missing) {
            EXPECT_TRUE(CopyFileW(source.c_str(), (folder + kClientDll).c_str(), FALSE));
        }
        folders_.push_back(folder);
        return folder;
    }

    void Register(Where where, Channel channel, const std::wstring& folder) {
        HKEY root = where == Where::UserKey ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
        REGSAM view = where == Where::MachineKey32 ? KEY_WOW64_32KEY : where == Where::MachineKey64 ? KEY_WOW64_64KEY : 0;
        registryValues_.push_back(
            std::make_unique<RegistryValueOverride>(root, view, kChannelKeys[channel], L"EBWebView", REG_SZ, StringBytes(folder)));
    }

    // Builds each runtime into installed_ and advertises it as its `where`
    // says; returns the folder to pass as the argument, or null.
    const wchar_t* InstallAll(const std::vector<Install>& installs) {
        const wchar_t* argument = nullptr;
        installed_.reserve(installs.size());
        for (const Install& install : installs) {
            installed_.push_back(MakeRuntime(install.name, install.dll));
            if (install.where == Where::Argument)
                argument = installed_.back().c_str();
            else if (install.where == Where::EnvVar)
                folderVariable_ = std::make_unique<EnvOverride>(kFolderVariable, installed_.back().c_str());
            else if (install.where != Where::Named)
                Register(install.where, install.channel, installed_.back());
        }
        return argument;
    }

    // Checks that of installed_ exactly runtime `chosen` (-1: none) was
    // called, once, as runtimeType; returns its record.
    const ProbeRecord* ExpectOnlyCalled(int chosen, int runtimeType) {
        const ProbeRecord* chosenRecord = nullptr;
        for (size_t i = 0; i < installed_.size(); i++) {
            const ProbeRecord* record = Record(installed_[i]);
            if (static_cast<int>(i) != chosen) {
                EXPECT_TRUE(!record || record->calls == 0) << "runtime " << i << " was called";
                continue;
            }
            EXPECT_NE(record, nullptr) << "the runtime that was called is no longer loaded";
            if (!record) continue;
            EXPECT_EQ(record->calls, 1);
            EXPECT_EQ(record->runtimeType, runtimeType);
            EXPECT_EQ(record->checkRunningInstance, 1);
            chosenRecord = record;
        }
        EXPECT_EQ(handler_.calls, 0);
        return chosenRecord;
    }

    // The probe's record when its copy in folder is loaded, else null.
    static const ProbeRecord* Record(const std::wstring& folder) {
        HMODULE module = GetModuleHandleW((folder + kClientDll).c_str());
        return module ? reinterpret_cast<const ProbeRecord*>(GetProcAddress(module, "probeRecord")) : nullptr;
    }

    HRESULT Create(const wchar_t* browserFolder, const wchar_t* userData = kUserData) {
        return create_(browserFolder, userData, options(), &handler_);
    }
    ICoreWebView2EnvironmentOptions* options() { return reinterpret_cast<ICoreWebView2EnvironmentOptions*>(&optionsTag_); }

    ScratchDir scratch_;
    EnvOverride noFolderVariable_{kFolderVariable, nullptr};
    EnvOverride noUserDataVariable_{kUserDataVariable, nullptr};
    EnvOverride noPreferenceVariable_{kPreferenceVariable, nullptr};
    EnvOverride noProbeResult_{PROBE_RESULT_VARIABLE, nullptr};
    HMODULE loader_ = nullptr;
    CreateEnvironmentFn create_ = nullptr;
    CountingHandler handler_;
    int optionsTag_ = 0;
    std::vector<std::wstring> folders_;
    std::vector<std::wstring> installed_;
    std::unique_ptr<EnvOverride> folderVariable_;
    std::vector<std::unique_ptr<RegistryValueOverride>> registryValues_;
};

// --- Discovery ---------------------------------------------------------------

struct DiscoveryCase {
    const char* name;
    std::vector<Install> installs;
    int chosen;  // index into installs, -1 for none
    int runtimeType;
};
void PrintTo(const DiscoveryCase& c, std::ostream* os) { *os << c.name; }

const DiscoveryCase kDiscoveryCases[] = {
    {"Argument", {{Where::Argument, Stable, L"fixed", Dll::Probe}}, 0, 1},
    {"EnvironmentVariable", {{Where::EnvVar, Stable, L"fixed", Dll::Probe}}, 0, 1},
    {"MachineKey32BitView", {{Where::MachineKey32, Stable, kVersion, Dll::Probe}}, 0, 0},
    {"UserKey", {{Where::UserKey, Stable, kVersion, Dll::Probe}}, 0, 0},
    {"MachineKey64BitViewIsNotLookedAt", {{Where::MachineKey64, Stable, kVersion, Dll::Probe}}, -1, 0},
    {"CanaryAlone", {{Where::UserKey, Canary, kVersion, Dll::Probe}}, 0, 0},
    {"ArgumentBeatsEnvironmentVariable",
     {{Where::EnvVar, Stable, L"env", Dll::Probe}, {Where::Argument, Stable, L"arg", Dll::Probe}}, 1, 1},
    {"EnvironmentVariableBeatsRegistry",
     {{Where::MachineKey32, Stable, kVersion, Dll::Probe}, {Where::EnvVar, Stable, L"env", Dll::Probe}}, 1, 1},
    {"ArgumentBeatsRegistry",
     {{Where::UserKey, Stable, kVersion, Dll::Probe}, {Where::Argument, Stable, L"arg", Dll::Probe}}, 1, 1},
    {"MachineBeforeUserInOneChannel",
     {{Where::UserKey, Stable, kVersion, Dll::Probe}, {Where::MachineKey32, Stable, kVersion, Dll::Probe}}, 1, 0},
    {"StableBeforeBeta",
     {{Where::MachineKey32, Beta, kVersion, Dll::Probe}, {Where::UserKey, Stable, kVersion, Dll::Probe}}, 1, 0},
    {"BetaBeforeDev", {{Where::UserKey, Dev, kVersion, Dll::Probe}, {Where::UserKey, Beta, kVersion, Dll::Probe}}, 1, 0},
    {"DevBeforeCanary",
     {{Where::MachineKey32, Canary, kVersion, Dll::Probe}, {Where::UserKey, Dev, kVersion, Dll::Probe}}, 1, 0},
    {"FolderNotNamedByVersionIsSkipped",
     {{Where::MachineKey32, Stable, L"Application", Dll::Probe}, {Where::UserKey, Beta, kVersion, Dll::Probe}}, 1, 0},
    {"StaleRegistrationFallsThrough",
     {{Where::MachineKey32, Stable, kVersion, Dll::Missing}, {Where::UserKey, Stable, kVersion, Dll::Probe}}, 1, 0},
    {"RegisteredLibraryWithoutEntryPointFallsThrough",
     {{Where::MachineKey32, Stable, kVersion, Dll::NotARuntime}, {Where::UserKey, Beta, kVersion, Dll::Probe}}, 1, 0},
    {"ArgumentWithoutLibraryIsBinding",
     {{Where::Argument, Stable, L"arg", Dll::Missing}, {Where::MachineKey32, Stable, kVersion, Dll::Probe}}, -1, 0},
    {"EnvironmentFolderWithoutEntryPointIsBinding",
     {{Where::EnvVar, Stable, L"env", Dll::NotARuntime}, {Where::UserKey, Stable, kVersion, Dll::Probe}}, -1, 0},
    {"NothingInstalled", {}, -1, 0},
};

class LoaderDiscovery : public LoaderTest, public testing::WithParamInterface<DiscoveryCase> {};

TEST_P(LoaderDiscovery, CallsFirstUsableRuntime) {
    const DiscoveryCase& c = GetParam();
    EXPECT_EQ(Create(InstallAll(c.installs)), c.chosen < 0 ? kNotFound : S_OK);
    ExpectOnlyCalled(c.chosen, c.runtimeType);
}

INSTANTIATE_TEST_SUITE_P(Routes, LoaderDiscovery, testing::ValuesIn(kDiscoveryCases),
                         [](const testing::TestParamInfo<DiscoveryCase>& info) { return info.param.name; });

// A registered folder counts only when its last component is a version.
struct VersionCase {
    const char* name;
    const wchar_t* folder;
    const wchar_t* registeredSuffix;
    bool accepted;
};
void PrintTo(const VersionCase& c, std::ostream* os) { *os << c.name; }

const VersionCase kVersionCases[] = {
    {"FourNumbers", L"130.0.2849.80", L"", true},
    {"SingleDigits", L"1.2.3.4", L"", true},
    {"TrailingSeparator", L"130.0.2849.80", L"\\", true},
    {"ThreeNumbers", L"130.0.2849", L"", false},
    {"FiveNumbers", L"130.0.2849.80.1", L"", false},
    {"LetterInNumber", L"130.0.2849.8a", L"", false},
    {"EmptyNumber", L"130..2849.80", L"", false},
    {"TrailingDot", L"130.0.2849.", L"", false},
    {"Prefixed", L"v130.0.2849.80", L"", false},
    {"Word", L"Application", L"", false},
};

class LoaderVersionFolder : public LoaderTest, public testing::WithParamInterface<VersionCase> {};

TEST_P(LoaderVersionFolder, DecidesWhetherRegistrationCounts) {
    const VersionCase& c = GetParam();
    std::wstring folder = MakeRuntime(c.folder, Dll::Probe);
    Register(Where::MachineKey32, Stable, folder + c.registeredSuffix);
    EXPECT_EQ(Create(nullptr), c.accepted ? S_OK : kNotFound);
    const ProbeRecord* record = Record(folder);
    EXPECT_EQ(record ? record->calls : 0, c.accepted ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Names, LoaderVersionFolder, testing::ValuesIn(kVersionCases),
                         [](const testing::TestParamInfo<VersionCase>& info) { return info.param.name; });

// --- Group policies and environment overrides ---------------------------------

// Where a setting comes from: an environment variable, or a group policy
// under HKLM or HKCU.
enum class From { Variable, MachinePolicy, UserPolicy };

struct Setting {
    From from;
    const wchar_t* name;   // the variable, or the policy's key under ...\Edge\WebView2
    const wchar_t* value;  // text (a DWORD policy's number); null: the folder of runtime `runtime`
    int runtime = -1;
    const wchar_t* valueName = nullptr;  // a policy's value name; null: the host's file name
};

struct SettingsCase {
    const char* name;
    std::vector<Install> runtimes;  // Where::Named, UserKey or MachineKey32
    std::vector<Setting> settings;
    int chosen;  // index into runtimes, -1 for none
    int runtimeType;
    const wchar_t* userData;  // what the runtime must receive
};
void PrintTo(const SettingsCase& c, std::ostream* os) { *os << c.name; }

const wchar_t kFolderPolicy[] = L"BrowserExecutableFolder";
const wchar_t kUserDataPolicy[] = L"UserDataFolder";
const wchar_t kPreferencePolicy[] = L"ReleaseChannelPreference";  // the one DWORD policy
const wchar_t kChannelsPolicy[] = L"ReleaseChannels";
const Install kFixed = {Where::Named, Stable, L"fixed", Dll::Probe};
const Install kStable = {Where::MachineKey32, Stable, kVersion, Dll::Probe};
const Install kBeta = {Where::UserKey, Beta, kVersion, Dll::Probe};
const Install kCanary = {Where::UserKey, Canary, kVersion, Dll::Probe};
const From kVar = From::Variable, kMachine = From::MachinePolicy, kUser = From::UserPolicy;

const SettingsCase kSettingsCases[] = {
    // As measured with Microsoft's loader.
    {"UserFolderPolicyForHost", {kFixed}, {{kUser, kFolderPolicy, nullptr, 0}}, 0, 1, kUserData},
    {"MachineFolderPolicyForAllHostsBeatsInstalled",
     {kStable, kFixed}, {{kMachine, kFolderPolicy, nullptr, 1, L"*"}}, 1, 1, kUserData},
    {"MachineFolderPolicyBeatsUser",
     {kFixed, kFixed}, {{kUser, kFolderPolicy, nullptr, 0}, {kMachine, kFolderPolicy, nullptr, 1}}, 1, 1, kUserData},
    {"FolderVariableBeatsPolicy",
     {kFixed, kFixed}, {{kMachine, kFolderPolicy, nullptr, 0}, {kVar, kFolderVariable, nullptr, 1}}, 1, 1, kUserData},
    {"UserDataVariableReplacesArgument", {kStable}, {{kVar, kUserDataVariable, L"C:\\var-data"}}, 0, 0, L"C:\\var-data"},
    {"UserDataPolicyReplacesArgument", {kStable}, {{kUser, kUserDataPolicy, L"C:\\policy-data"}}, 0, 0, L"C:\\policy-data"},
    {"PreferenceVariableReversesChannels", {kStable, kCanary}, {{kVar, kPreferenceVariable, L"1"}}, 1, 0, kUserData},
    {"PreferencePolicyReversesChannels", {kStable, kCanary}, {{kUser, kPreferencePolicy, L"1"}}, 1, 0, kUserData},
    {"ChannelsPolicyCanaryOnly", {kStable, kCanary}, {{kUser, kChannelsPolicy, L"3"}}, 1, 0, kUserData},
    {"ChannelsPolicyBetaOrCanary", {kStable, kBeta, kCanary}, {{kUser, kChannelsPolicy, L"1,3"}}, 1, 0, kUserData},
    {"AdditionalArgumentsLeaveOptionsAlone",
     {kStable}, {{kVar, kArgumentsVariable, L"--disable-gpu"}}, 0, 0, kUserData},
    // Precedence and limits.
    {"MachinePolicyForAllHostsBeatsUserPolicyForHost",
     {kFixed, kFixed}, {{kUser, kFolderPolicy, nullptr, 0}, {kMachine, kFolderPolicy, nullptr, 1, L"*"}}, 1, 1, kUserData},
    {"PolicyForHostBeatsPolicyForAllHosts",
     {kFixed, kFixed}, {{kUser, kFolderPolicy, nullptr, 0, L"*"}, {kUser, kFolderPolicy, nullptr, 1}}, 1, 1, kUserData},
    {"PolicyForAnotherHostIsIgnored", {kStable, kFixed}, {{kMachine, kFolderPolicy, nullptr, 1, L"other.exe"}}, 0, 0,
     kUserData},
    {"ArgumentBeatsFolderPolicy", {kFixed, {Where::Argument, Stable, L"arg", Dll::Probe}},
     {{kMachine, kFolderPolicy, nullptr, 0}}, 1, 1, kUserData},
    {"FolderPolicyWithoutLibraryIsBinding", {kStable, {Where::Named, Stable, L"fixed", Dll::Missing}},
     {{kUser, kFolderPolicy, nullptr, 1}}, -1, 0, kUserData},
    {"UserDataVariableBeatsPolicy", {kStable},
     {{kMachine, kUserDataPolicy, L"C:\\policy-data"}, {kVar, kUserDataVariable, L"C:\\var-data"}}, 0, 0, L"C:\\var-data"},
    {"PreferenceVariableBeatsPolicy", {kStable, kCanary},
     {{kUser, kPreferencePolicy, L"1"}, {kVar, kPreferenceVariable, L"0"}}, 0, 0, kUserData},
    {"ChannelsPolicyLimitsReversedSearch", {kStable, kBeta, kCanary},
     {{kUser, kChannelsPolicy, L"0, 1"}, {kVar, kPreferenceVariable, L"1"}}, 1, 0, kUserData},
    {"ChannelsPolicyWithoutInstalledChannelFindsNothing", {kStable}, {{kMachine, kChannelsPolicy, L"3", -1, L"*"}}, -1,
     0, kUserData},
};

// The file name of this test's executable: the host the policies name.
std::wstring HostFileName() {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring full(path, n);
    return full.substr(full.find_last_of(L"\\/") + 1);
}

class LoaderSettings : public LoaderTest, public testing::WithParamInterface<SettingsCase> {};

TEST_P(LoaderSettings, FindsRuntimeAndUserDataFolder) {
    const SettingsCase& c = GetParam();
    const wchar_t* argument = InstallAll(c.runtimes);
    std::vector<std::unique_ptr<EnvOverride>> variables;
    for (const Setting& s : c.settings) {
        std::wstring value = s.value ? s.value : installed_.at(s.runtime);
        if (s.from == From::Variable) {
            variables.push_back(std::make_unique<EnvOverride>(s.name, value.c_str()));
            continue;
        }
        std::wstring key = std::wstring(L"Software\\Policies\\Microsoft\\Edge\\WebView2\\") + s.name;
        DWORD number = wcstoul(value.c_str(), nullptr, 10);
        bool isDword = std::wstring(s.name) == kPreferencePolicy;
        registryValues_.push_back(std::make_unique<RegistryValueOverride>(
            s.from == From::MachinePolicy ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, 0, key,
            s.valueName ? s.valueName : HostFileName(), isDword ? REG_DWORD : REG_SZ,
            isDword ? std::string(reinterpret_cast<const char*>(&number), sizeof number) : StringBytes(value)));
    }

    EXPECT_EQ(create_(argument, kUserData, nullptr, &handler_), c.chosen < 0 ? kNotFound : S_OK);
    if (const ProbeRecord* record = ExpectOnlyCalled(c.chosen, c.runtimeType)) {
        EXPECT_STREQ(record->userDataFolder, c.userData);
        EXPECT_EQ(record->environmentOptions, nullptr);
    }
}

INSTANTIATE_TEST_SUITE_P(Overrides, LoaderSettings, testing::ValuesIn(kSettingsCases),
                         [](const testing::TestParamInfo<SettingsCase>& info) { return info.param.name; });

// --- What reaches the runtime, and what comes back ---------------------------

class LoaderResult : public LoaderTest, public testing::WithParamInterface<HRESULT> {};

TEST_P(LoaderResult, ReturnsRuntimeResultUnchangedAfterOneCall) {
    wchar_t text[16];
    swprintf(text, ARRAYSIZE(text), L"%08lx", static_cast<unsigned long>(GetParam()));
    EnvOverride result(PROBE_RESULT_VARIABLE, text);
    std::wstring folder = MakeRuntime(L"fixed", Dll::Probe);
    EXPECT_EQ(Create(folder.c_str()), GetParam());
    const ProbeRecord* record = Record(folder);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->calls, 1) << "a failed call must not be repeated: the handler may already be queued";
}

INSTANTIATE_TEST_SUITE_P(Codes, LoaderResult,
                         testing::Values(S_OK, S_FALSE, E_FAIL, E_ACCESSDENIED, HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)),
                         [](const testing::TestParamInfo<HRESULT>& info) {
                             char name[16];
                             snprintf(name, sizeof name, "Hr%08lX", static_cast<unsigned long>(info.param));
                             return std::string(name);
                         });

TEST_F(LoaderTest, PassesCallerArgumentsThrough) {
    std::wstring folder = MakeRuntime(kVersion, Dll::Probe);
    Register(Where::UserKey, Stable, folder);
    ASSERT_EQ(Create(nullptr), S_OK);
    const ProbeRecord* record = Record(folder);
    ASSERT_NE(record, nullptr);
    EXPECT_FALSE(record->userDataFolderIsNull);
    EXPECT_STREQ(record->userDataFolder, kUserData);
    EXPECT_EQ(record->environmentOptions, options());
    EXPECT_EQ(record->handler, static_cast<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler*>(&handler_));
    EXPECT_EQ(handler_.calls, 0);
}

TEST_F(LoaderTest, PassesNullUserDataFolderThrough) {
    std::wstring folder = MakeRuntime(L"fixed", Dll::Probe);
    ASSERT_EQ(Create(folder.c_str(), nullptr), S_OK);
    const ProbeRecord* record = Record(folder);
    ASSERT_NE(record, nullptr);
    EXPECT_TRUE(record->userDataFolderIsNull);
}

// --- The executable's copy ---------------------------------------------------

TEST(LoaderResource, ExecutableCarriesLoaderAsResource2) {
    HMODULE exe = LoadLibraryExW(VelotideExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    HRSRC resource = FindResourceW(exe, MAKEINTRESOURCEW(2), MAKEINTRESOURCEW(10));  // RT_RCDATA
    ASSERT_NE(resource, nullptr);
    std::string embedded(static_cast<const char*>(LockResource(LoadResource(exe, resource))),
                         SizeofResource(exe, resource));
    FreeLibrary(exe);
    std::string expected = ReadFileBytes(WinPathFromUnix(VELOTIDE_EMBEDDED_LOADER_UNIX_PATH));
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(embedded.size(), expected.size());
    EXPECT_TRUE(embedded == expected) << "resource 2 differs from the loader it should embed";
}

}  // namespace
