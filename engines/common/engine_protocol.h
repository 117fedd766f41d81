// What a test needs to drive our engines (EmbeddedBrowserWebView.dll, the
// test engine's or the Chromium engine's) and read what they did: the class
// of the view window, the control commands sent to that window as
// WM_COPYDATA, and the environment variables they read. engines/test/README.md
// and engines/chromium/README.md describe the commands and the log lines.
#pragma once

#include <windows.h>

// The view window is a child of the window given to CreateCoreWebView2Controller.
inline constexpr wchar_t kEngineViewClass[] = L"VelotideEngineView";
// A pop-up the page opened and nobody handled becomes a top-level window of this class.
inline constexpr wchar_t kEnginePopupClass[] = L"VelotideTestEnginePopup";

// Path of the append-only UTF-8 log; no log is written while it is unset.
inline constexpr wchar_t kEngineLogVariable[] = L"VELOTIDE_TEST_ENGINE_LOG";
// Makes start-up fail on purpose: "create" (the export returns E_FAIL),
// "environment" or "controller" (that completion reports E_FAIL and null);
// "clear": ClearBrowsingDataAll clears but its completion never comes.
inline constexpr wchar_t kEngineFailVariable[] = L"VELOTIDE_TEST_ENGINE_FAIL";

// How the engine models a runtime. "silent": when the person stays on a page
// (its beforeunload answered Stay) the navigation that asked raises nothing;
// otherwise it completes as cancelled (status 14) under a number of its own.
inline constexpr wchar_t kEngineStayVariable[] = L"VELOTIDE_TEST_ENGINE_STAY";
// "runtime": ScriptDialogOpening can't be registered (E_NOTIMPL), so the
// page's dialogs stay the runtime's own boxes.
inline constexpr wchar_t kEngineDialogsVariable[] = L"VELOTIDE_TEST_ENGINE_DIALOGS";

// "none": the environment has no ICoreWebView2Environment10, as a runtime
// before profiles (1.0.1185.36): views only in the folder's default profile.
inline constexpr wchar_t kEngineProfilesVariable[] = L"VELOTIDE_TEST_ENGINE_PROFILES";

// COPYDATASTRUCT.dwData of a command; lpData holds its UTF-16 text (no
// terminator needed), cbData its size in bytes. SendMessage returns TRUE when
// the command was understood; its events follow from the message loop.
inline constexpr ULONG_PTR kEngineCopyDataId = 0x56544531;  // "VTE1"

// Command words, the first word of a command text; arguments are separated by spaces.
inline constexpr wchar_t kEngineCmdLink[] = L"link";              // link <url>
inline constexpr wchar_t kEngineCmdNavigate[] = L"navigate";      // navigate <url>: the page's script, no click
inline constexpr wchar_t kEngineCmdRedirect[] = L"redirect";      // redirect <url1> <url2> ...
inline constexpr wchar_t kEngineCmdFail[] = L"fail";              // fail <status> <url>
inline constexpr wchar_t kEngineCmdRedirects[] = L"redirects";    // redirects <url> [<url2>]: from now on (or no more)
inline constexpr wchar_t kEngineCmdPopup[] = L"popup";            // popup <url> [script]
inline constexpr wchar_t kEngineCmdFrameLink[] = L"framelink";    // framelink <url> [script]: a frame's link
inline constexpr wchar_t kEngineCmdAnswer[] = L"answer";          // answer <http status> <url>
inline constexpr wchar_t kEngineCmdAuth[] = L"auth";            // auth <url>: its server asks for a Basic sign-in
inline constexpr wchar_t kEngineCmdCertError[] = L"certerror";  // certerror <url>: its certificate is not valid
// abort <status> <url>: the answer brings no new document (a 204, a stop, a launched mail link)
inline constexpr wchar_t kEngineCmdAbort[] = L"abort";
inline constexpr wchar_t kEngineCmdDownload[] = L"download";  // download <url>: the answer is a file to save
// request <url> [context] [frame|cross-frame|worker|shared-worker|service-worker]
inline constexpr wchar_t kEngineCmdRequest[] = L"request";
inline constexpr wchar_t kEngineCmdCrash[] = L"crash";  // crash <COREWEBVIEW2_PROCESS_FAILED_KIND>
// The test engine's server of a host goes down (its connections are refused)
// and comes back up, for every view of the engine.
inline constexpr wchar_t kEngineCmdDown[] = L"down";  // down <host>
inline constexpr wchar_t kEngineCmdUp[] = L"up";      // up <host>
inline constexpr wchar_t kEngineCmdFullscreen[] = L"fullscreen";  // fullscreen on|off
// The page gets (on) or drops (off) a beforeunload handler: a navigation the
// program starts first asks "Leave site?".
inline constexpr wchar_t kEngineCmdBeforeUnload[] = L"beforeunload";  // beforeunload on|off
// The page plays sound (on) or no longer does (off): it can't be suspended meanwhile.
inline constexpr wchar_t kEngineCmdAudio[] = L"audio";  // audio on|off
// The page's script opens a dialog; a prompt's default text is one word.
inline constexpr wchar_t kEngineCmdAlert[] = L"alert";      // alert <message...>
inline constexpr wchar_t kEngineCmdConfirm[] = L"confirm";  // confirm <message...>
inline constexpr wchar_t kEngineCmdPrompt[] = L"prompt";    // prompt <default> <message...>
// The Chromium engine's commands are "crash 1" (the page's renderer crashes)
// and this one: the page runs the script as if the user had just clicked (so
// it may open windows and go fullscreen).
inline constexpr wchar_t kEngineCmdScript[] = L"script";  // script <javascript>
// What a site kept open all day does: asks for a permission (kind 0..12, from
// the shown page's origin or a frame's, after a click unless "script"), shows
// and closes notifications, titles itself, names its icon (a square of the
// colour, "none" for no icon).
inline constexpr wchar_t kEngineCmdPermission[] = L"permission";       // permission <kind> [origin] [script]
inline constexpr wchar_t kEngineCmdNotify[] = L"notify";               // notify <title> [body...]
inline constexpr wchar_t kEngineCmdNotifyClose[] = L"notify-close";    // notify-close <title>
inline constexpr wchar_t kEngineCmdTitle[] = L"title";                 // title <text...>
inline constexpr wchar_t kEngineCmdFavicon[] = L"favicon";             // favicon <url> [#rrggbb] | favicon none
// The test engine's page asks for what opens a dialog to files or a printer:
// opens print|open-picker|save-picker|directory-picker|file-input|file-input-key|save-as
inline constexpr wchar_t kEngineCmdOpens[] = L"opens";
// The view's profile is deleted, as by another program on the same folder.
inline constexpr wchar_t kEngineCmdProfileDelete[] = L"profile-delete";

// The Chromium engine: "127.0.0.1:PORT" of a running Chromium's DevTools endpoint.
inline constexpr wchar_t kChromiumDevToolsVariable[] = L"VELOTIDE_CHROMIUM_DEVTOOLS";
