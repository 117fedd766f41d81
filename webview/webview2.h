// WebView2 interfaces as the SDK publishes them: names, IIDs and every
// method in vtable order, including slots this program never calls, so that a
// call lands on the same method the real runtime implements. Building with
// -DVELOTIDE_WEBVIEW2_SDK=<dir> uses Microsoft's WebView2.h instead (see
// webview/engine.h); nothing else changes.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <oaidl.h>
#include <eventtoken.h>

typedef enum COREWEBVIEW2_KEY_EVENT_KIND {
    COREWEBVIEW2_KEY_EVENT_KIND_KEY_DOWN = 0,
    COREWEBVIEW2_KEY_EVENT_KIND_KEY_UP = 1,
    COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_DOWN = 2,
    COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_UP = 3,
} COREWEBVIEW2_KEY_EVENT_KIND;

typedef enum COREWEBVIEW2_MOVE_FOCUS_REASON {
    COREWEBVIEW2_MOVE_FOCUS_REASON_PROGRAMMATIC = 0,
    COREWEBVIEW2_MOVE_FOCUS_REASON_NEXT = 1,
    COREWEBVIEW2_MOVE_FOCUS_REASON_PREVIOUS = 2,
} COREWEBVIEW2_MOVE_FOCUS_REASON;

typedef enum COREWEBVIEW2_WEB_RESOURCE_CONTEXT {
    COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL = 0,
    COREWEBVIEW2_WEB_RESOURCE_CONTEXT_DOCUMENT = 1,
    COREWEBVIEW2_WEB_RESOURCE_CONTEXT_STYLESHEET = 2,
    COREWEBVIEW2_WEB_RESOURCE_CONTEXT_IMAGE = 3,
    COREWEBVIEW2_WEB_RESOURCE_CONTEXT_MEDIA = 4,
    COREWEBVIEW2_WEB_RESOURCE_CONTEXT_FONT = 5,
    COREWEBVIEW2_WEB_RESOURCE_CONTEXT_SCRIPT = 6,
    COREWEBVIEW2_WEB_RESOURCE_CONTEXT_XML_HTTP_REQUEST = 7,
    COREWEBVIEW2_WEB_RESOURCE_CONTEXT_FETCH = 8,
    COREWEBVIEW2_WEB_RESOURCE_CONTEXT_TEXT_TRACK = 9,
    COREWEBVIEW2_WEB_RESOURCE_CONTEXT_EVENT_SOURCE = 10,
    COREWEBVIEW2_WEB_RESOURCE_CONTEXT_WEBSOCKET = 11,
    COREWEBVIEW2_WEB_RESOURCE_CONTEXT_MANIFEST = 12,
    COREWEBVIEW2_WEB_RESOURCE_CONTEXT_SIGNED_EXCHANGE = 13,
    COREWEBVIEW2_WEB_RESOURCE_CONTEXT_PING = 14,
    COREWEBVIEW2_WEB_RESOURCE_CONTEXT_CSP_VIOLATION_REPORT = 15,
    COREWEBVIEW2_WEB_RESOURCE_CONTEXT_OTHER = 16,
} COREWEBVIEW2_WEB_RESOURCE_CONTEXT;

typedef enum COREWEBVIEW2_WEB_ERROR_STATUS {
    COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN = 0,
    COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_COMMON_NAME_IS_INCORRECT = 1,
    COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_EXPIRED = 2,
    COREWEBVIEW2_WEB_ERROR_STATUS_CLIENT_CERTIFICATE_CONTAINS_ERRORS = 3,
    COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_REVOKED = 4,
    COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_IS_INVALID = 5,
    COREWEBVIEW2_WEB_ERROR_STATUS_SERVER_UNREACHABLE = 6,
    COREWEBVIEW2_WEB_ERROR_STATUS_TIMEOUT = 7,
    COREWEBVIEW2_WEB_ERROR_STATUS_ERROR_HTTP_INVALID_SERVER_RESPONSE = 8,
    COREWEBVIEW2_WEB_ERROR_STATUS_CONNECTION_ABORTED = 9,
    COREWEBVIEW2_WEB_ERROR_STATUS_CONNECTION_RESET = 10,
    COREWEBVIEW2_WEB_ERROR_STATUS_DISCONNECTED = 11,
    COREWEBVIEW2_WEB_ERROR_STATUS_CANNOT_CONNECT = 12,
    COREWEBVIEW2_WEB_ERROR_STATUS_HOST_NAME_NOT_RESOLVED = 13,
    COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED = 14,
    COREWEBVIEW2_WEB_ERROR_STATUS_REDIRECT_FAILED = 15,
    COREWEBVIEW2_WEB_ERROR_STATUS_UNEXPECTED_ERROR = 16,
    COREWEBVIEW2_WEB_ERROR_STATUS_VALID_AUTHENTICATION_CREDENTIALS_REQUIRED = 17,
    COREWEBVIEW2_WEB_ERROR_STATUS_VALID_PROXY_AUTHENTICATION_REQUIRED = 18,
} COREWEBVIEW2_WEB_ERROR_STATUS;

typedef enum COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT {
    COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT_PNG = 0,
    COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT_JPEG = 1,
} COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT;

typedef enum COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION {
    COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION_ALWAYS_ALLOW = 0,
    COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION_CANCEL = 1,
    COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION_DEFAULT = 2,
} COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION;

typedef enum COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS {
    COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_NONE = 0,
    COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_DOCUMENT = 0x1,
    COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_SHARED_WORKER = 0x2,
    COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_SERVICE_WORKER = 0x4,
    COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_ALL = (int)0xFFFFFFFF,
} COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS;

typedef enum COREWEBVIEW2_PROCESS_FAILED_KIND {
    COREWEBVIEW2_PROCESS_FAILED_KIND_BROWSER_PROCESS_EXITED = 0,
    COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_EXITED = 1,
    COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_UNRESPONSIVE = 2,
    COREWEBVIEW2_PROCESS_FAILED_KIND_FRAME_RENDER_PROCESS_EXITED = 3,
    COREWEBVIEW2_PROCESS_FAILED_KIND_UTILITY_PROCESS_EXITED = 4,
    COREWEBVIEW2_PROCESS_FAILED_KIND_SANDBOX_HELPER_PROCESS_EXITED = 5,
    COREWEBVIEW2_PROCESS_FAILED_KIND_GPU_PROCESS_EXITED = 6,
    COREWEBVIEW2_PROCESS_FAILED_KIND_PPAPI_PLUGIN_PROCESS_EXITED = 7,
    COREWEBVIEW2_PROCESS_FAILED_KIND_PPAPI_BROKER_PROCESS_EXITED = 8,
    COREWEBVIEW2_PROCESS_FAILED_KIND_UNKNOWN_PROCESS_EXITED = 9,
} COREWEBVIEW2_PROCESS_FAILED_KIND;

typedef enum COREWEBVIEW2_PERMISSION_KIND {
    COREWEBVIEW2_PERMISSION_KIND_UNKNOWN_PERMISSION = 0,
    COREWEBVIEW2_PERMISSION_KIND_MICROPHONE = 1,
    COREWEBVIEW2_PERMISSION_KIND_CAMERA = 2,
    COREWEBVIEW2_PERMISSION_KIND_GEOLOCATION = 3,
    COREWEBVIEW2_PERMISSION_KIND_NOTIFICATIONS = 4,
    COREWEBVIEW2_PERMISSION_KIND_OTHER_SENSORS = 5,
    COREWEBVIEW2_PERMISSION_KIND_CLIPBOARD_READ = 6,
    COREWEBVIEW2_PERMISSION_KIND_MULTIPLE_AUTOMATIC_DOWNLOADS = 7,
    COREWEBVIEW2_PERMISSION_KIND_FILE_READ_WRITE = 8,
    COREWEBVIEW2_PERMISSION_KIND_AUTOPLAY = 9,
    COREWEBVIEW2_PERMISSION_KIND_LOCAL_FONTS = 10,
    COREWEBVIEW2_PERMISSION_KIND_MIDI_SYSTEM_EXCLUSIVE_MESSAGES = 11,
    COREWEBVIEW2_PERMISSION_KIND_WINDOW_MANAGEMENT = 12,
} COREWEBVIEW2_PERMISSION_KIND;

typedef enum COREWEBVIEW2_PERMISSION_STATE {
    COREWEBVIEW2_PERMISSION_STATE_DEFAULT = 0,
    COREWEBVIEW2_PERMISSION_STATE_ALLOW = 1,
    COREWEBVIEW2_PERMISSION_STATE_DENY = 2,
} COREWEBVIEW2_PERMISSION_STATE;

typedef enum COREWEBVIEW2_FAVICON_IMAGE_FORMAT {
    COREWEBVIEW2_FAVICON_IMAGE_FORMAT_PNG = 0,
    COREWEBVIEW2_FAVICON_IMAGE_FORMAT_JPEG = 1,
} COREWEBVIEW2_FAVICON_IMAGE_FORMAT;

typedef enum COREWEBVIEW2_TEXT_DIRECTION_KIND {
    COREWEBVIEW2_TEXT_DIRECTION_KIND_DEFAULT = 0,
    COREWEBVIEW2_TEXT_DIRECTION_KIND_LEFT_TO_RIGHT = 1,
    COREWEBVIEW2_TEXT_DIRECTION_KIND_RIGHT_TO_LEFT = 2,
} COREWEBVIEW2_TEXT_DIRECTION_KIND;

typedef enum COREWEBVIEW2_SCRIPT_DIALOG_KIND {
    COREWEBVIEW2_SCRIPT_DIALOG_KIND_ALERT = 0,
    COREWEBVIEW2_SCRIPT_DIALOG_KIND_CONFIRM = 1,
    COREWEBVIEW2_SCRIPT_DIALOG_KIND_PROMPT = 2,
    COREWEBVIEW2_SCRIPT_DIALOG_KIND_BEFOREUNLOAD = 3,
} COREWEBVIEW2_SCRIPT_DIALOG_KIND;

typedef enum COREWEBVIEW2_MEMORY_USAGE_TARGET_LEVEL {
    COREWEBVIEW2_MEMORY_USAGE_TARGET_LEVEL_NORMAL = 0,
    COREWEBVIEW2_MEMORY_USAGE_TARGET_LEVEL_LOW = 1,
} COREWEBVIEW2_MEMORY_USAGE_TARGET_LEVEL;

typedef struct COREWEBVIEW2_PHYSICAL_KEY_STATUS {
    UINT32 RepeatCount;
    UINT32 ScanCode;
    BOOL IsExtendedKey;
    BOOL IsMenuKeyDown;
    BOOL WasKeyDown;
    BOOL IsKeyReleased;
} COREWEBVIEW2_PHYSICAL_KEY_STATUS;

// Interfaces that only appear as parameter types of slots the program never calls.
struct ICoreWebView2EnvironmentOptions;
struct ICoreWebView2;
struct ICoreWebView2AcceleratorKeyPressedEventArgs;
struct ICoreWebView2AcceleratorKeyPressedEventHandler;
struct ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler;
struct ICoreWebView2BasicAuthenticationRequestedEventHandler;
struct ICoreWebView2BasicAuthenticationResponse;
struct ICoreWebView2CallDevToolsProtocolMethodCompletedHandler;
struct ICoreWebView2CapturePreviewCompletedHandler;
struct ICoreWebView2Certificate;
struct ICoreWebView2ContainsFullScreenElementChangedEventHandler;
struct ICoreWebView2ContentLoadingEventHandler;
struct ICoreWebView2Controller;
struct ICoreWebView2CreateCoreWebView2ControllerCompletedHandler;
struct ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler;
struct ICoreWebView2Deferral;
struct ICoreWebView2DevToolsProtocolEventReceiver;
struct ICoreWebView2DocumentTitleChangedEventHandler;
struct ICoreWebView2DownloadOperation;
struct ICoreWebView2DownloadStartingEventHandler;
struct ICoreWebView2LaunchingExternalUriSchemeEventHandler;
struct ICoreWebView2Environment;
struct ICoreWebView2FaviconChangedEventHandler;
struct ICoreWebView2GetFaviconCompletedHandler;
struct ICoreWebView2ExecuteScriptCompletedHandler;
struct ICoreWebView2FocusChangedEventHandler;
struct ICoreWebView2HistoryChangedEventHandler;
struct ICoreWebView2HttpRequestHeaders;
struct ICoreWebView2HttpResponseHeaders;
struct ICoreWebView2MoveFocusRequestedEventHandler;
struct ICoreWebView2NavigationCompletedEventArgs;
struct ICoreWebView2NavigationCompletedEventHandler;
struct ICoreWebView2NavigationStartingEventArgs;
struct ICoreWebView2NavigationStartingEventHandler;
struct ICoreWebView2NewBrowserVersionAvailableEventHandler;
struct ICoreWebView2NewWindowRequestedEventArgs;
struct ICoreWebView2NewWindowRequestedEventHandler;
struct ICoreWebView2NotificationCloseRequestedEventHandler;
struct ICoreWebView2NotificationReceivedEventHandler;
struct ICoreWebView2ObjectCollectionView;
struct ICoreWebView2PermissionRequestedEventHandler;
struct ICoreWebView2ProcessFailedEventHandler;
struct ICoreWebView2Profile;
struct ICoreWebView2GetNonDefaultPermissionSettingsCompletedHandler;
struct ICoreWebView2ScriptDialogOpeningEventHandler;
struct ICoreWebView2ServerCertificateErrorDetectedEventHandler;
struct ICoreWebView2Settings;
struct ICoreWebView2SourceChangedEventHandler;
struct ICoreWebView2WebMessageReceivedEventHandler;
struct ICoreWebView2WebResourceRequest;
struct ICoreWebView2WebResourceRequestedEventArgs;
struct ICoreWebView2WebResourceRequestedEventHandler;
struct ICoreWebView2WebResourceResponse;
struct ICoreWebView2WindowCloseRequestedEventHandler;
struct ICoreWebView2WindowFeatures;
struct ICoreWebView2ZoomFactorChangedEventHandler;

EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2Environment = {0xb96d755e, 0x0319, 0x4e92, {0xa2, 0x96, 0x23, 0x43, 0x6f, 0x46, 0xa1, 0xfc}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2Controller = {0x4d00c0d1, 0x9434, 0x4eb6, {0x80, 0x78, 0x86, 0x97, 0xa5, 0x60, 0x33, 0x4f}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2 = {0x76eceacb, 0x0462, 0x4d94, {0xac, 0x83, 0x42, 0x3a, 0x67, 0x93, 0x77, 0x5e}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2Settings = {0xe562e4f0, 0xd7fa, 0x43ac, {0x8d, 0x71, 0xc0, 0x51, 0x50, 0x49, 0x9f, 0x00}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2NewWindowRequestedEventArgs = {0x34acb11c, 0xfc37, 0x4418, {0x91, 0x32, 0xf9, 0xc2, 0x1d, 0x1e, 0xaf, 0xb9}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2NavigationStartingEventArgs = {0x5b495469, 0xe119, 0x438a, {0x9b, 0x18, 0x76, 0x04, 0xf2, 0x5f, 0x2e, 0x49}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2NavigationCompletedEventArgs = {0x30d68b7d, 0x20d9, 0x4752, {0xa9, 0xca, 0xec, 0x84, 0x48, 0xfb, 0xb5, 0xc1}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2WebResourceRequestedEventArgs = {0x453e667f, 0x12c7, 0x49d4, {0xbe, 0x6d, 0xdd, 0xbe, 0x79, 0x56, 0xf5, 0x7a}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2WebResourceRequest = {0x97055cd4, 0x512c, 0x4264, {0x8b, 0x5f, 0xe3, 0xf4, 0x46, 0xce, 0xa6, 0xa5}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2WebResourceResponse = {0xaafcc94f, 0xfa27, 0x48fd, {0x97, 0xdf, 0x83, 0x0e, 0xf7, 0x5a, 0xae, 0xc9}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2AcceleratorKeyPressedEventArgs = {0x9f760f8a, 0xfb79, 0x42be, {0x99, 0x90, 0x7b, 0x56, 0x90, 0x0f, 0xa9, 0xc7}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler = {0x4e8a3389, 0xc9d8, 0x4bd2, {0xb6, 0xb5, 0x12, 0x4f, 0xee, 0x6c, 0xc1, 0x4d}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2CreateCoreWebView2ControllerCompletedHandler = {0x6c4819f3, 0xc9b7, 0x4260, {0x81, 0x27, 0xc9, 0xf5, 0xbd, 0xe7, 0xf6, 0x8c}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2NewWindowRequestedEventHandler = {0xd4c185fe, 0xc81c, 0x4989, {0x97, 0xaf, 0x2d, 0x3f, 0xa7, 0xab, 0x56, 0x51}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2NavigationStartingEventHandler = {0x9adbe429, 0xf36d, 0x432b, {0x9d, 0xdc, 0xf8, 0x88, 0x1f, 0xbd, 0x76, 0xe3}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2WebResourceRequestedEventHandler = {0xab00b74c, 0x15f1, 0x4646, {0x80, 0xe8, 0xe7, 0x63, 0x41, 0xd2, 0x5d, 0x71}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2ContainsFullScreenElementChangedEventHandler = {0xe45d98b1, 0xafef, 0x45be, {0x8b, 0xaf, 0x6c, 0x77, 0x28, 0x86, 0x7f, 0x73}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2NavigationCompletedEventHandler = {0xd33a35bf, 0x1c49, 0x4f98, {0x93, 0xab, 0x00, 0x6e, 0x05, 0x33, 0xfe, 0x1c}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2AcceleratorKeyPressedEventHandler = {0xb29c7e28, 0xfa79, 0x41a8, {0x8e, 0x44, 0x65, 0x81, 0x1c, 0x76, 0xdc, 0xb2}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2NavigationCompletedEventArgs2 = {0xfdf8b738, 0xee1e, 0x4db2, {0xa3, 0x29, 0x8d, 0x7d, 0x7b, 0x74, 0xd7, 0x92}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2ProcessFailedEventArgs = {0x8155a9a4, 0x1474, 0x4a86, {0x8c, 0xae, 0x15, 0x1b, 0x0f, 0xa6, 0xb8, 0xca}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2ProcessFailedEventHandler = {0x79e0aea4, 0x990b, 0x42d9, {0xaa, 0x1d, 0x0f, 0xcc, 0x2e, 0x5b, 0xc7, 0xf1}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2ContentLoadingEventArgs = {0x0c8a1275, 0x9b6b, 0x4901, {0x87, 0xad, 0x70, 0xdf, 0x25, 0xba, 0xfa, 0x6e}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2ContentLoadingEventHandler = {0x364471e7, 0xf2be, 0x4910, {0xbd, 0xba, 0xd7, 0x20, 0x77, 0xd5, 0x1c, 0x4b}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2SourceChangedEventArgs = {0x31e0e545, 0x1dba, 0x4266, {0x89, 0x14, 0xf6, 0x38, 0x48, 0xa1, 0xf7, 0xd7}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2SourceChangedEventHandler = {0x3c067f9f, 0x5388, 0x4772, {0x8b, 0x48, 0x79, 0xf7, 0xef, 0x1a, 0xb3, 0x7c}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2Deferral = {0xc10e7f7b, 0xb585, 0x46f0, {0xa6, 0x23, 0x8b, 0xef, 0xbf, 0x3e, 0x4e, 0xe0}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2BasicAuthenticationResponse = {0x07023f7d, 0x2d77, 0x4d67, {0x90, 0x40, 0x6e, 0x7d, 0x42, 0x8c, 0x6a, 0x40}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2BasicAuthenticationRequestedEventArgs = {0xef05516f, 0xd897, 0x4f9e, {0xb6, 0x72, 0xd8, 0xe2, 0x30, 0x7a, 0x3f, 0xb0}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2BasicAuthenticationRequestedEventHandler = {0x58b4d6c2, 0x18d4, 0x497e, {0xb3, 0x9b, 0x9a, 0x96, 0x53, 0x3f, 0xa2, 0x78}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2ServerCertificateErrorDetectedEventArgs = {0x012193ed, 0x7c13, 0x48ff, {0x96, 0x9d, 0xa8, 0x4c, 0x1f, 0x43, 0x2a, 0x14}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2ServerCertificateErrorDetectedEventHandler = {0x969b3a26, 0xd85e, 0x4795, {0x81, 0x99, 0xfe, 0xf5, 0x73, 0x44, 0xda, 0x22}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2DownloadStartingEventArgs = {0xe99bbe21, 0x43e9, 0x4544, {0xa7, 0x32, 0x28, 0x27, 0x64, 0xea, 0xfa, 0x60}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2DownloadStartingEventHandler = {0xefedc989, 0xc396, 0x41ca, {0x83, 0xf7, 0x07, 0xf8, 0x45, 0xa5, 0x57, 0x24}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2LaunchingExternalUriSchemeEventArgs = {0x07d1a6c3, 0x7175, 0x4ba1, {0x93, 0x06, 0xe5, 0x93, 0xca, 0x07, 0xe4, 0x6c}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2LaunchingExternalUriSchemeEventHandler = {0x74f712e0, 0x8165, 0x43a9, {0xa1, 0x3f, 0x0c, 0xce, 0x59, 0x7e, 0x75, 0xdf}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2PermissionRequestedEventHandler = {0x15e1c6a3, 0xc72a, 0x4df3, {0x91, 0xd7, 0xd0, 0x97, 0xfb, 0xec, 0x6b, 0xfd}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2PermissionRequestedEventArgs = {0x973ae2ef, 0xff18, 0x4894, {0x8f, 0xb2, 0x3c, 0x75, 0x8f, 0x04, 0x68, 0x10}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2PermissionRequestedEventArgs2 = {0x74d7127f, 0x9de6, 0x4200, {0x87, 0x34, 0x42, 0xd6, 0xfb, 0x4f, 0xf7, 0x41}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2PermissionRequestedEventArgs3 = {0xe61670bc, 0x3dce, 0x4177, {0x86, 0xd2, 0xc6, 0x29, 0xae, 0x3c, 0xb6, 0xac}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2DocumentTitleChangedEventHandler = {0xf5f2b923, 0x953e, 0x4042, {0x9f, 0x95, 0xf3, 0xa1, 0x18, 0xe1, 0xaf, 0xd4}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2FaviconChangedEventHandler = {0x2913da94, 0x833d, 0x4de0, {0x8d, 0xca, 0x90, 0x0f, 0xc5, 0x24, 0xa1, 0xa4}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2GetFaviconCompletedHandler = {0xa2508329, 0x7da8, 0x49d7, {0x8c, 0x05, 0xfa, 0x12, 0x5e, 0x4a, 0xee, 0x8d}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2NotificationReceivedEventHandler = {0x89c5d598, 0x8788, 0x423b, {0xbe, 0x97, 0xe6, 0xe0, 0x1c, 0x0f, 0x9e, 0xe3}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2NotificationReceivedEventArgs = {0x1512dd5b, 0x5514, 0x4f85, {0x88, 0x6e, 0x21, 0xc3, 0xa4, 0xc9, 0xcf, 0xe6}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2Notification = {0xb7434d98, 0x6bc8, 0x419d, {0x9d, 0xa5, 0xfb, 0x5a, 0x96, 0xd4, 0xda, 0xcd}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2NotificationCloseRequestedEventHandler = {0x47c32d23, 0x1e94, 0x4733, {0x85, 0xf1, 0xd9, 0xbf, 0x4a, 0xcd, 0x09, 0x74}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2Profile = {0x79110ad3, 0xcd5d, 0x4373, {0x8b, 0xc3, 0xc6, 0x06, 0x58, 0xf1, 0x7a, 0x5f}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2Profile2 = {0xfa740d4b, 0x5eae, 0x4344, {0xa8, 0xad, 0x74, 0xbe, 0x31, 0x92, 0x53, 0x97}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2Profile3 = {0xb188e659, 0x5685, 0x4e05, {0xbd, 0xba, 0xfc, 0x64, 0x0e, 0x0f, 0x19, 0x92}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2Profile4 = {0x8f4ae680, 0x192e, 0x4ec8, {0x83, 0x3a, 0x21, 0xcf, 0xad, 0xae, 0xf6, 0x28}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2Profile5 = {0x2ee5b76e, 0x6e80, 0x4df2, {0xbc, 0xd3, 0xd4, 0xec, 0x33, 0x40, 0xa0, 0x1b}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2Profile6 = {0xbd82fa6a, 0x1d65, 0x4c33, {0xb2, 0xb4, 0x03, 0x93, 0x02, 0x0c, 0xc6, 0x1b}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2Profile7 = {0x7b4c7906, 0xa1aa, 0x4cb4, {0xb7, 0x23, 0xdb, 0x09, 0xf8, 0x13, 0xd5, 0x41}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2Profile8 = {0xfbf70c2f, 0xeb1f, 0x4383, {0x85, 0xa0, 0x16, 0x3e, 0x92, 0x04, 0x40, 0x11}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2ProfileDeletedEventHandler = {0xdf35055d, 0x772e, 0x4dbe, {0xb7, 0x43, 0x5f, 0xbf, 0x74, 0xa2, 0xb2, 0x58}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2ClearBrowsingDataCompletedHandler = {0xe9710a06, 0x1d1d, 0x49b2, {0x82, 0x34, 0x22, 0x6f, 0x35, 0x84, 0x6a, 0xe5}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2SetPermissionStateCompletedHandler = {0xfc77fb30, 0x9c9e, 0x4076, {0xb8, 0xc7, 0x76, 0x44, 0xa7, 0x03, 0xca, 0x1b}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2GetNonDefaultPermissionSettingsCompletedHandler = {0x38274481, 0xa15c, 0x4563, {0x94, 0xcf, 0x99, 0x0e, 0xdc, 0x9a, 0xeb, 0x95}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2PermissionSettingCollectionView = {0xf5596f62, 0x3de5, 0x47b1, {0x91, 0xe8, 0xa4, 0x10, 0x4b, 0x59, 0x6b, 0x96}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2PermissionSetting = {0x792b6eca, 0x5576, 0x421c, {0x91, 0x19, 0x74, 0xeb, 0xb3, 0xa4, 0xff, 0xb3}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2ScriptDialogOpeningEventArgs = {0x7390bb70, 0xabe0, 0x4843, {0x95, 0x29, 0xf1, 0x43, 0xb3, 0x1b, 0x03, 0xd6}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2ScriptDialogOpeningEventHandler = {0xef381bf9, 0xafa8, 0x4e37, {0x91, 0xc4, 0x8a, 0xc4, 0x85, 0x24, 0xbd, 0xfb}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2TrySuspendCompletedHandler = {0x00f206a7, 0x9d17, 0x4605, {0x91, 0xf6, 0x4e, 0x8e, 0x4d, 0xe1, 0x92, 0xe3}};

MIDL_INTERFACE("b96d755e-0319-4e92-a296-23436f46a1fc")
ICoreWebView2Environment : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE CreateCoreWebView2Controller(HWND parentWindow, ICoreWebView2CreateCoreWebView2ControllerCompletedHandler *handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateWebResourceResponse(IStream *content, int statusCode, LPCWSTR reasonPhrase, LPCWSTR headers, ICoreWebView2WebResourceResponse **response) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_BrowserVersionString(LPWSTR *versionInfo) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_NewBrowserVersionAvailable(ICoreWebView2NewBrowserVersionAvailableEventHandler *eventHandler, EventRegistrationToken *token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_NewBrowserVersionAvailable(EventRegistrationToken token) = 0;
};

MIDL_INTERFACE("4d00c0d1-9434-4eb6-8078-8697a560334f")
ICoreWebView2Controller : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE get_IsVisible(BOOL *isVisible) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_IsVisible(BOOL isVisible) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Bounds(RECT *bounds) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Bounds(RECT bounds) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ZoomFactor(double *zoomFactor) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_ZoomFactor(double zoomFactor) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_ZoomFactorChanged(ICoreWebView2ZoomFactorChangedEventHandler *eventHandler, EventRegistrationToken *token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_ZoomFactorChanged(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetBoundsAndZoomFactor(RECT bounds, double zoomFactor) = 0;
    virtual HRESULT STDMETHODCALLTYPE MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON reason) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_MoveFocusRequested(ICoreWebView2MoveFocusRequestedEventHandler *eventHandler, EventRegistrationToken *token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_MoveFocusRequested(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_GotFocus(ICoreWebView2FocusChangedEventHandler *eventHandler, EventRegistrationToken *token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_GotFocus(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_LostFocus(ICoreWebView2FocusChangedEventHandler *eventHandler, EventRegistrationToken *token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_LostFocus(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_AcceleratorKeyPressed(ICoreWebView2AcceleratorKeyPressedEventHandler *eventHandler, EventRegistrationToken *token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_AcceleratorKeyPressed(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ParentWindow(HWND *parentWindow) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_ParentWindow(HWND parentWindow) = 0;
    virtual HRESULT STDMETHODCALLTYPE NotifyParentWindowPositionChanged() = 0;
    virtual HRESULT STDMETHODCALLTYPE Close() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CoreWebView2(ICoreWebView2 **coreWebView2) = 0;
};

MIDL_INTERFACE("76eceacb-0462-4d94-ac83-423a6793775e")
ICoreWebView2 : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE get_Settings(ICoreWebView2Settings **settings) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Source(LPWSTR *uri) = 0;
    virtual HRESULT STDMETHODCALLTYPE Navigate(LPCWSTR uri) = 0;
    virtual HRESULT STDMETHODCALLTYPE NavigateToString(LPCWSTR htmlContent) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_NavigationStarting(ICoreWebView2NavigationStartingEventHandler *eventHandler, EventRegistrationToken *token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_NavigationStarting(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_ContentLoading(ICoreWebView2ContentLoadingEventHandler *eventHandler, EventRegistrationToken *token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_ContentLoading(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_SourceChanged(ICoreWebView2SourceChangedEventHandler *eventHandler, EventRegistrationToken *token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_SourceChanged(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_HistoryChanged(ICoreWebView2HistoryChangedEventHandler *eventHandler, EventRegistrationToken *token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_HistoryChanged(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_NavigationCompleted(ICoreWebView2NavigationCompletedEventHandler *eventHandler, EventRegistrationToken *token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_NavigationCompleted(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_FrameNavigationStarting(ICoreWebView2NavigationStartingEventHandler *eventHandler, EventRegistrationToken *token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_FrameNavigationStarting(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_FrameNavigationCompleted(ICoreWebView2NavigationCompletedEventHandler *eventHandler, EventRegistrationToken *token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_FrameNavigationCompleted(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_ScriptDialogOpening(ICoreWebView2ScriptDialogOpeningEventHandler *eventHandler, EventRegistrationToken *token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_ScriptDialogOpening(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_PermissionRequested(ICoreWebView2PermissionRequestedEventHandler *eventHandler, EventRegistrationToken *token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_PermissionRequested(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_ProcessFailed(ICoreWebView2ProcessFailedEventHandler *eventHandler, EventRegistrationToken *token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_ProcessFailed(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddScriptToExecuteOnDocumentCreated(LPCWSTR javaScript, ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler *handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveScriptToExecuteOnDocumentCreated(LPCWSTR id) = 0;
    virtual HRESULT STDMETHODCALLTYPE ExecuteScript(LPCWSTR javaScript, ICoreWebView2ExecuteScriptCompletedHandler *handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE CapturePreview(COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT imageFormat, IStream *imageStream, ICoreWebView2CapturePreviewCompletedHandler *handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reload() = 0;
    virtual HRESULT STDMETHODCALLTYPE PostWebMessageAsJson(LPCWSTR webMessageAsJson) = 0;
    virtual HRESULT STDMETHODCALLTYPE PostWebMessageAsString(LPCWSTR webMessageAsString) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_WebMessageReceived(ICoreWebView2WebMessageReceivedEventHandler *handler, EventRegistrationToken *token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_WebMessageReceived(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE CallDevToolsProtocolMethod(LPCWSTR methodName, LPCWSTR parametersAsJson, ICoreWebView2CallDevToolsProtocolMethodCompletedHandler *handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_BrowserProcessId(UINT32 *value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CanGoBack(BOOL *canGoBack) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CanGoForward(BOOL *canGoForward) = 0;
    virtual HRESULT STDMETHODCALLTYPE GoBack() = 0;
    virtual HRESULT STDMETHODCALLTYPE GoForward() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDevToolsProtocolEventReceiver(LPCWSTR eventName, ICoreWebView2DevToolsProtocolEventReceiver **receiver) = 0;
    virtual HRESULT STDMETHODCALLTYPE Stop() = 0;
    virtual HRESULT STDMETHODCALLTYPE add_NewWindowRequested(ICoreWebView2NewWindowRequestedEventHandler *eventHandler, EventRegistrationToken *token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_NewWindowRequested(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_DocumentTitleChanged(ICoreWebView2DocumentTitleChangedEventHandler *eventHandler, EventRegistrationToken *token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_DocumentTitleChanged(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DocumentTitle(LPWSTR *title) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddHostObjectToScript(LPCWSTR name, VARIANT *object) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveHostObjectFromScript(LPCWSTR name) = 0;
    virtual HRESULT STDMETHODCALLTYPE OpenDevToolsWindow() = 0;
    virtual HRESULT STDMETHODCALLTYPE add_ContainsFullScreenElementChanged(ICoreWebView2ContainsFullScreenElementChangedEventHandler *eventHandler, EventRegistrationToken *token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_ContainsFullScreenElementChanged(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ContainsFullScreenElement(BOOL *containsFullScreenElement) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_WebResourceRequested(ICoreWebView2WebResourceRequestedEventHandler *eventHandler, EventRegistrationToken *token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_WebResourceRequested(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddWebResourceRequestedFilter(const LPCWSTR uri, const COREWEBVIEW2_WEB_RESOURCE_CONTEXT resourceContext) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveWebResourceRequestedFilter(const LPCWSTR uri, const COREWEBVIEW2_WEB_RESOURCE_CONTEXT resourceContext) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_WindowCloseRequested(ICoreWebView2WindowCloseRequestedEventHandler *eventHandler, EventRegistrationToken *token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_WindowCloseRequested(EventRegistrationToken token) = 0;
};

MIDL_INTERFACE("e562e4f0-d7fa-43ac-8d71-c05150499f00")
ICoreWebView2Settings : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE get_IsScriptEnabled(BOOL *isScriptEnabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_IsScriptEnabled(BOOL isScriptEnabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsWebMessageEnabled(BOOL *isWebMessageEnabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_IsWebMessageEnabled(BOOL isWebMessageEnabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_AreDefaultScriptDialogsEnabled(BOOL *areDefaultScriptDialogsEnabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_AreDefaultScriptDialogsEnabled(BOOL areDefaultScriptDialogsEnabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsStatusBarEnabled(BOOL *isStatusBarEnabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_IsStatusBarEnabled(BOOL isStatusBarEnabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_AreDevToolsEnabled(BOOL *areDevToolsEnabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_AreDevToolsEnabled(BOOL areDevToolsEnabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_AreDefaultContextMenusEnabled(BOOL *enabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_AreDefaultContextMenusEnabled(BOOL enabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_AreHostObjectsAllowed(BOOL *allowed) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_AreHostObjectsAllowed(BOOL allowed) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsZoomControlEnabled(BOOL *enabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_IsZoomControlEnabled(BOOL enabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsBuiltInErrorPageEnabled(BOOL *enabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_IsBuiltInErrorPageEnabled(BOOL enabled) = 0;
};

MIDL_INTERFACE("34acb11c-fc37-4418-9132-f9c21d1eafb9")
ICoreWebView2NewWindowRequestedEventArgs : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR *uri) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_NewWindow(ICoreWebView2 *newWindow) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_NewWindow(ICoreWebView2 **newWindow) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Handled(BOOL handled) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Handled(BOOL *handled) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL *isUserInitiated) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral **deferral) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_WindowFeatures(ICoreWebView2WindowFeatures **value) = 0;
};

MIDL_INTERFACE("5b495469-e119-438a-9b18-7604f25f2e49")
ICoreWebView2NavigationStartingEventArgs : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR *uri) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL *isUserInitiated) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsRedirected(BOOL *isRedirected) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_RequestHeaders(ICoreWebView2HttpRequestHeaders **requestHeaders) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Cancel(BOOL *cancel) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Cancel(BOOL cancel) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64 *navigationId) = 0;
};

MIDL_INTERFACE("30d68b7d-20d9-4752-a9ca-ec8448fbb5c1")
ICoreWebView2NavigationCompletedEventArgs : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE get_IsSuccess(BOOL *isSuccess) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_WebErrorStatus(COREWEBVIEW2_WEB_ERROR_STATUS *webErrorStatus) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64 *navigationId) = 0;
};

MIDL_INTERFACE("453e667f-12c7-49d4-be6d-ddbe7956f57a")
ICoreWebView2WebResourceRequestedEventArgs : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE get_Request(ICoreWebView2WebResourceRequest **request) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Response(ICoreWebView2WebResourceResponse **response) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Response(ICoreWebView2WebResourceResponse *response) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral **deferral) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ResourceContext(COREWEBVIEW2_WEB_RESOURCE_CONTEXT *context) = 0;
};

MIDL_INTERFACE("97055cd4-512c-4264-8b5f-e3f446cea6a5")
ICoreWebView2WebResourceRequest : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR *uri) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Uri(LPCWSTR uri) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Method(LPWSTR *method) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Method(LPCWSTR method) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Content(IStream **content) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Content(IStream *content) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Headers(ICoreWebView2HttpRequestHeaders **headers) = 0;
};

MIDL_INTERFACE("aafcc94f-fa27-48fd-97df-830ef75aaec9")
ICoreWebView2WebResourceResponse : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE get_Content(IStream **content) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Content(IStream *content) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Headers(ICoreWebView2HttpResponseHeaders **headers) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_StatusCode(int *statusCode) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_StatusCode(int statusCode) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ReasonPhrase(LPWSTR *reasonPhrase) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_ReasonPhrase(LPCWSTR reasonPhrase) = 0;
};

MIDL_INTERFACE("9f760f8a-fb79-42be-9990-7b56900fa9c7")
ICoreWebView2AcceleratorKeyPressedEventArgs : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE get_KeyEventKind(COREWEBVIEW2_KEY_EVENT_KIND *keyEventKind) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_VirtualKey(UINT *virtualKey) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_KeyEventLParam(INT *lParam) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_PhysicalKeyStatus(COREWEBVIEW2_PHYSICAL_KEY_STATUS *physicalKeyStatus) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Handled(BOOL *handled) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Handled(BOOL handled) = 0;
};

MIDL_INTERFACE("4e8a3389-c9d8-4bd2-b6b5-124fee6cc14d")
ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE Invoke(HRESULT errorCode, ICoreWebView2Environment *result) = 0;
};

MIDL_INTERFACE("6c4819f3-c9b7-4260-8127-c9f5bde7f68c")
ICoreWebView2CreateCoreWebView2ControllerCompletedHandler : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE Invoke(HRESULT errorCode, ICoreWebView2Controller *result) = 0;
};

MIDL_INTERFACE("d4c185fe-c81c-4989-97af-2d3fa7ab5651")
ICoreWebView2NewWindowRequestedEventHandler : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2 *sender, ICoreWebView2NewWindowRequestedEventArgs *args) = 0;
};

MIDL_INTERFACE("9adbe429-f36d-432b-9ddc-f8881fbd76e3")
ICoreWebView2NavigationStartingEventHandler : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2 *sender, ICoreWebView2NavigationStartingEventArgs *args) = 0;
};

MIDL_INTERFACE("ab00b74c-15f1-4646-80e8-e76341d25d71")
ICoreWebView2WebResourceRequestedEventHandler : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2 *sender, ICoreWebView2WebResourceRequestedEventArgs *args) = 0;
};

MIDL_INTERFACE("e45d98b1-afef-45be-8baf-6c7728867f73")
ICoreWebView2ContainsFullScreenElementChangedEventHandler : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2 *sender, IUnknown *args) = 0;
};

MIDL_INTERFACE("d33a35bf-1c49-4f98-93ab-006e0533fe1c")
ICoreWebView2NavigationCompletedEventHandler : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2 *sender, ICoreWebView2NavigationCompletedEventArgs *args) = 0;
};

MIDL_INTERFACE("b29c7e28-fa79-41a8-8e44-65811c76dcb2")
ICoreWebView2AcceleratorKeyPressedEventHandler : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2Controller *sender, ICoreWebView2AcceleratorKeyPressedEventArgs *args) = 0;
};

MIDL_INTERFACE("fdf8b738-ee1e-4db2-a329-8d7d7b74d792")
ICoreWebView2NavigationCompletedEventArgs2 : public ICoreWebView2NavigationCompletedEventArgs {
public:
    virtual HRESULT STDMETHODCALLTYPE get_HttpStatusCode(int *value) = 0;
};

MIDL_INTERFACE("8155a9a4-1474-4a86-8cae-151b0fa6b8ca")
ICoreWebView2ProcessFailedEventArgs : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE get_ProcessFailedKind(COREWEBVIEW2_PROCESS_FAILED_KIND *processFailedKind) = 0;
};

MIDL_INTERFACE("79e0aea4-990b-42d9-aa1d-0fcc2e5bc7f1")
ICoreWebView2ProcessFailedEventHandler : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2 *sender, ICoreWebView2ProcessFailedEventArgs *args) = 0;
};

// Events of the page's documents, its sign-in challenges, certificate errors
// and downloads.
MIDL_INTERFACE("0c8a1275-9b6b-4901-87ad-70df25bafa6e")
ICoreWebView2ContentLoadingEventArgs : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE get_IsErrorPage(BOOL *isErrorPage) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64 *navigationId) = 0;
};

MIDL_INTERFACE("364471e7-f2be-4910-bdba-d72077d51c4b")
ICoreWebView2ContentLoadingEventHandler : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2 *sender, ICoreWebView2ContentLoadingEventArgs *args) = 0;
};

MIDL_INTERFACE("31e0e545-1dba-4266-8914-f63848a1f7d7")
ICoreWebView2SourceChangedEventArgs : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE get_IsNewDocument(BOOL *isNewDocument) = 0;
};

MIDL_INTERFACE("3c067f9f-5388-4772-8b48-79f7ef1ab37c")
ICoreWebView2SourceChangedEventHandler : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2 *sender, ICoreWebView2SourceChangedEventArgs *args) = 0;
};

MIDL_INTERFACE("c10e7f7b-b585-46f0-a623-8befbf3e4ee0")
ICoreWebView2Deferral : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE Complete(void) = 0;
};

// The page's alert, confirm, prompt and beforeunload, raised while the
// runtime's own dialogs are off. Accept is OK (or Leave); not calling it is
// Cancel (or Stay).
MIDL_INTERFACE("7390bb70-abe0-4843-9529-f143b31b03d6")
ICoreWebView2ScriptDialogOpeningEventArgs : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR *uri) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Kind(COREWEBVIEW2_SCRIPT_DIALOG_KIND *kind) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Message(LPWSTR *message) = 0;
    virtual HRESULT STDMETHODCALLTYPE Accept() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DefaultText(LPWSTR *defaultText) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ResultText(LPWSTR *resultText) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_ResultText(LPCWSTR resultText) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral **deferral) = 0;
};

MIDL_INTERFACE("ef381bf9-afa8-4e37-91c4-8ac48524bdfb")
ICoreWebView2ScriptDialogOpeningEventHandler : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2 *sender, ICoreWebView2ScriptDialogOpeningEventArgs *args) = 0;
};

MIDL_INTERFACE("07023f7d-2d77-4d67-9040-6e7d428c6a40")
ICoreWebView2BasicAuthenticationResponse : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE get_UserName(LPWSTR *userName) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_UserName(LPCWSTR userName) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Password(LPWSTR *password) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Password(LPCWSTR password) = 0;
};

MIDL_INTERFACE("ef05516f-d897-4f9e-b672-d8e2307a3fb0")
ICoreWebView2BasicAuthenticationRequestedEventArgs : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR *value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Challenge(LPWSTR *challenge) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Response(ICoreWebView2BasicAuthenticationResponse **response) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Cancel(BOOL *cancel) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Cancel(BOOL cancel) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral **deferral) = 0;
};

MIDL_INTERFACE("58b4d6c2-18d4-497e-b39b-9a96533fa278")
ICoreWebView2BasicAuthenticationRequestedEventHandler : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2 *sender, ICoreWebView2BasicAuthenticationRequestedEventArgs *args) = 0;
};

MIDL_INTERFACE("012193ed-7c13-48ff-969d-a84c1f432a14")
ICoreWebView2ServerCertificateErrorDetectedEventArgs : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE get_ErrorStatus(COREWEBVIEW2_WEB_ERROR_STATUS *value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_RequestUri(LPWSTR *value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ServerCertificate(ICoreWebView2Certificate **value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Action(COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION *value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Action(COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral **deferral) = 0;
};

MIDL_INTERFACE("969b3a26-d85e-4795-8199-fef57344da22")
ICoreWebView2ServerCertificateErrorDetectedEventHandler : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2 *sender, ICoreWebView2ServerCertificateErrorDetectedEventArgs *args) = 0;
};

MIDL_INTERFACE("e99bbe21-43e9-4544-a732-282764eafa60")
ICoreWebView2DownloadStartingEventArgs : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE get_DownloadOperation(ICoreWebView2DownloadOperation **downloadOperation) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Cancel(BOOL *cancel) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Cancel(BOOL cancel) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ResultFilePath(LPWSTR *resultFilePath) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_ResultFilePath(LPCWSTR resultFilePath) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Handled(BOOL *handled) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Handled(BOOL handled) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral **deferral) = 0;
};

MIDL_INTERFACE("efedc989-c396-41ca-83f7-07f845a55724")
ICoreWebView2DownloadStartingEventHandler : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2 *sender, ICoreWebView2DownloadStartingEventArgs *args) = 0;
};

// A link of the page or of any of its frames to another program's address
// (mailto:, tel:, ms-settings:...), before the runtime asks "Open app?";
// Cancel: no launch and no question.
MIDL_INTERFACE("07d1a6c3-7175-4ba1-9306-e593ca07e46c")
ICoreWebView2LaunchingExternalUriSchemeEventArgs : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR *value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_InitiatingOrigin(LPWSTR *value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL *value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Cancel(BOOL *value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Cancel(BOOL value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral **value) = 0;
};

MIDL_INTERFACE("74f712e0-8165-43a9-a13f-0cce597e75df")
ICoreWebView2LaunchingExternalUriSchemeEventHandler : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2 *sender, ICoreWebView2LaunchingExternalUriSchemeEventArgs *args) = 0;
};

// What a page asks of the person and shows while it stays open: permissions,
// notifications, its title and its icon.
MIDL_INTERFACE("973ae2ef-ff18-4894-8fb2-3c758f046810")
ICoreWebView2PermissionRequestedEventArgs : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR *uri) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_PermissionKind(COREWEBVIEW2_PERMISSION_KIND *permissionKind) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL *isUserInitiated) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_State(COREWEBVIEW2_PERMISSION_STATE *state) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_State(COREWEBVIEW2_PERMISSION_STATE state) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral **deferral) = 0;
};

MIDL_INTERFACE("74d7127f-9de6-4200-8734-42d6fb4ff741")
ICoreWebView2PermissionRequestedEventArgs2 : public ICoreWebView2PermissionRequestedEventArgs {
public:
    virtual HRESULT STDMETHODCALLTYPE get_Handled(BOOL *handled) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Handled(BOOL handled) = 0;
};

MIDL_INTERFACE("e61670bc-3dce-4177-86d2-c629ae3cb6ac")
ICoreWebView2PermissionRequestedEventArgs3 : public ICoreWebView2PermissionRequestedEventArgs2 {
public:
    virtual HRESULT STDMETHODCALLTYPE get_SavesInProfile(BOOL *value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_SavesInProfile(BOOL value) = 0;
};

MIDL_INTERFACE("15e1c6a3-c72a-4df3-91d7-d097fbec6bfd")
ICoreWebView2PermissionRequestedEventHandler : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2 *sender, ICoreWebView2PermissionRequestedEventArgs *args) = 0;
};

// args is null: the title is the view's DocumentTitle.
MIDL_INTERFACE("f5f2b923-953e-4042-9f95-f3a118e1afd4")
ICoreWebView2DocumentTitleChangedEventHandler : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2 *sender, IUnknown *args) = 0;
};

// args is null: the icon's address is the view's FaviconUri.
MIDL_INTERFACE("2913da94-833d-4de0-8dca-900fc524a1a4")
ICoreWebView2FaviconChangedEventHandler : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2 *sender, IUnknown *args) = 0;
};

MIDL_INTERFACE("a2508329-7da8-49d7-8c05-fa125e4aee8d")
ICoreWebView2GetFaviconCompletedHandler : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE Invoke(HRESULT errorCode, IStream *result) = 0;
};

MIDL_INTERFACE("b7434d98-6bc8-419d-9da5-fb5a96d4dacd")
ICoreWebView2Notification : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE add_CloseRequested(ICoreWebView2NotificationCloseRequestedEventHandler *eventHandler, EventRegistrationToken *token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_CloseRequested(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE ReportShown() = 0;
    virtual HRESULT STDMETHODCALLTYPE ReportClicked() = 0;
    virtual HRESULT STDMETHODCALLTYPE ReportClosed() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Body(LPWSTR *value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Direction(COREWEBVIEW2_TEXT_DIRECTION_KIND *value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Language(LPWSTR *value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Tag(LPWSTR *value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IconUri(LPWSTR *value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Title(LPWSTR *value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_BadgeUri(LPWSTR *value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_BodyImageUri(LPWSTR *value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ShouldRenotify(BOOL *value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_RequiresInteraction(BOOL *value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsSilent(BOOL *value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Timestamp(double *value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetVibrationPattern(UINT32 *count, UINT64 **vibrationPattern) = 0;
};

// args is null.
MIDL_INTERFACE("47c32d23-1e94-4733-85f1-d9bf4acd0974")
ICoreWebView2NotificationCloseRequestedEventHandler : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2Notification *sender, IUnknown *args) = 0;
};

MIDL_INTERFACE("1512dd5b-5514-4f85-886e-21c3a4c9cfe6")
ICoreWebView2NotificationReceivedEventArgs : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE get_SenderOrigin(LPWSTR *value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Notification(ICoreWebView2Notification **value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Handled(BOOL value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Handled(BOOL *value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral **deferral) = 0;
};

MIDL_INTERFACE("89c5d598-8788-423b-be97-e6e01c0f9ee3")
ICoreWebView2NotificationReceivedEventHandler : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2 *sender, ICoreWebView2NotificationReceivedEventArgs *args) = 0;
};

// The view's profile: where it keeps what it keeps for sites. Only the
// permission state is used; the other slots take simplified parameter types.
MIDL_INTERFACE("79110ad3-cd5d-4373-8bc3-c60658f17a5f")
ICoreWebView2Profile : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE get_ProfileName(LPWSTR *value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsInPrivateModeEnabled(BOOL *value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ProfilePath(LPWSTR *value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DefaultDownloadFolderPath(LPWSTR *value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_DefaultDownloadFolderPath(LPCWSTR value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_PreferredColorScheme(int *value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_PreferredColorScheme(int value) = 0;
};

MIDL_INTERFACE("e9710a06-1d1d-49b2-8234-226f35846ae5")
ICoreWebView2ClearBrowsingDataCompletedHandler : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE Invoke(HRESULT errorCode) = 0;
};

MIDL_INTERFACE("fa740d4b-5eae-4344-a8ad-74be31925397")
ICoreWebView2Profile2 : public ICoreWebView2Profile {
public:
    virtual HRESULT STDMETHODCALLTYPE ClearBrowsingData(int dataKinds, ICoreWebView2ClearBrowsingDataCompletedHandler *handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE ClearBrowsingDataInTimeRange(int dataKinds, double startTime, double endTime, ICoreWebView2ClearBrowsingDataCompletedHandler *handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE ClearBrowsingDataAll(ICoreWebView2ClearBrowsingDataCompletedHandler *handler) = 0;
};

MIDL_INTERFACE("b188e659-5685-4e05-bdba-fc640e0f1992")
ICoreWebView2Profile3 : public ICoreWebView2Profile2 {
public:
    virtual HRESULT STDMETHODCALLTYPE get_PreferredTrackingPreventionLevel(int *value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_PreferredTrackingPreventionLevel(int value) = 0;
};

MIDL_INTERFACE("fc77fb30-9c9e-4076-b8c7-7644a703ca1b")
ICoreWebView2SetPermissionStateCompletedHandler : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE Invoke(HRESULT errorCode) = 0;
};

// One permission state a profile keeps, and the list of those not DEFAULT.
MIDL_INTERFACE("792b6eca-5576-421c-9119-74ebb3a4ffb3")
ICoreWebView2PermissionSetting : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE get_PermissionKind(COREWEBVIEW2_PERMISSION_KIND *value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_PermissionOrigin(LPWSTR *value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_PermissionState(COREWEBVIEW2_PERMISSION_STATE *value) = 0;
};

MIDL_INTERFACE("f5596f62-3de5-47b1-91e8-a4104b596b96")
ICoreWebView2PermissionSettingCollectionView : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE GetValueAtIndex(UINT32 index, ICoreWebView2PermissionSetting **permissionSetting) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Count(UINT32 *value) = 0;
};

MIDL_INTERFACE("38274481-a15c-4563-94cf-990edc9aeb95")
ICoreWebView2GetNonDefaultPermissionSettingsCompletedHandler : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE Invoke(HRESULT errorCode, ICoreWebView2PermissionSettingCollectionView *result) = 0;
};

// Permission states kept in the profile (runtime 1.0.1661.34 and later), as
// a saved answer of PermissionRequested is; DEFAULT removes one.
MIDL_INTERFACE("8f4ae680-192e-4ec8-833a-21cfadaef628")
ICoreWebView2Profile4 : public ICoreWebView2Profile3 {
public:
    virtual HRESULT STDMETHODCALLTYPE SetPermissionState(COREWEBVIEW2_PERMISSION_KIND permissionKind, LPCWSTR origin, COREWEBVIEW2_PERMISSION_STATE state, ICoreWebView2SetPermissionStateCompletedHandler *completedHandler) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetNonDefaultPermissionSettings(ICoreWebView2GetNonDefaultPermissionSettingsCompletedHandler *completedHandler) = 0;
};

// ICoreWebView2Profile5 to 7 lie between; only Profile8's Delete is used, so
// their slots take simplified parameter types.
MIDL_INTERFACE("2ee5b76e-6e80-4df2-bcd3-d4ec3340a01b")
ICoreWebView2Profile5 : public ICoreWebView2Profile4 {
public:
    virtual HRESULT STDMETHODCALLTYPE get_CookieManager(IUnknown **value) = 0;
};

MIDL_INTERFACE("bd82fa6a-1d65-4c33-b2b4-0393020cc61b")
ICoreWebView2Profile6 : public ICoreWebView2Profile5 {
public:
    virtual HRESULT STDMETHODCALLTYPE get_IsPasswordAutosaveEnabled(BOOL *value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_IsPasswordAutosaveEnabled(BOOL value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsGeneralAutofillEnabled(BOOL *value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_IsGeneralAutofillEnabled(BOOL value) = 0;
};

MIDL_INTERFACE("7b4c7906-a1aa-4cb4-b723-db09f813d541")
ICoreWebView2Profile7 : public ICoreWebView2Profile6 {
public:
    virtual HRESULT STDMETHODCALLTYPE AddBrowserExtension(LPCWSTR extensionFolderPath, IUnknown *handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetBrowserExtensions(IUnknown *handler) = 0;
};

// args is null.
MIDL_INTERFACE("df35055d-772e-4dbe-b743-5fbf74a2b258")
ICoreWebView2ProfileDeletedEventHandler : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2Profile *sender, IUnknown *args) = 0;
};

// Deleting a profile closes its views and removes its data once no browser
// process needs it.
MIDL_INTERFACE("fbf70c2f-eb1f-4383-85a0-163e92044011")
ICoreWebView2Profile8 : public ICoreWebView2Profile7 {
public:
    virtual HRESULT STDMETHODCALLTYPE Delete() = 0;
    virtual HRESULT STDMETHODCALLTYPE add_Deleted(ICoreWebView2ProfileDeletedEventHandler *eventHandler, EventRegistrationToken *token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_Deleted(EventRegistrationToken token) = 0;
};

// The answer to AddScriptToExecuteOnDocumentCreated: the script's id, with
// which it could be removed.
struct ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(HRESULT errorCode, LPCWSTR id) = 0;
};

// The answer to TrySuspend: whether the page could be put to sleep.
MIDL_INTERFACE("00f206a7-9d17-4605-91f6-4e8e4de192e3")
ICoreWebView2TrySuspendCompletedHandler : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE Invoke(HRESULT errorCode, BOOL isSuccessful) = 0;
};

// ICoreWebView2_2 to ICoreWebView2_25, each deriving from the one before, its
// methods after the base's slots. The slots the program calls (the filter,
// event registrations, suspending, the memory target) take their real
// parameter types, the others simplified ones. Each list is an
// X-macro, X(method, (parameters)), so that an engine can fill every slot.
#define VELOTIDE_COREWEBVIEW2_2_METHODS(X)                                          \
    X(add_WebResourceResponseReceived, (IUnknown *, EventRegistrationToken *))      \
    X(remove_WebResourceResponseReceived, (EventRegistrationToken))                 \
    X(NavigateWithWebResourceRequest, (ICoreWebView2WebResourceRequest *))          \
    X(add_DOMContentLoaded, (IUnknown *, EventRegistrationToken *))                 \
    X(remove_DOMContentLoaded, (EventRegistrationToken))                            \
    X(get_CookieManager, (IUnknown **))                                             \
    X(get_Environment, (ICoreWebView2Environment **))
#define VELOTIDE_COREWEBVIEW2_3_METHODS(X)                                          \
    X(TrySuspend, (ICoreWebView2TrySuspendCompletedHandler *))                      \
    X(Resume, ())                                                                   \
    X(get_IsSuspended, (BOOL *))                                                    \
    X(SetVirtualHostNameToFolderMapping, (LPCWSTR, LPCWSTR, int))                   \
    X(ClearVirtualHostNameToFolderMapping, (LPCWSTR))
#define VELOTIDE_COREWEBVIEW2_4_METHODS(X)                                          \
    X(add_FrameCreated, (IUnknown *, EventRegistrationToken *))                     \
    X(remove_FrameCreated, (EventRegistrationToken))                                \
    X(add_DownloadStarting, (ICoreWebView2DownloadStartingEventHandler *, EventRegistrationToken *))                 \
    X(remove_DownloadStarting, (EventRegistrationToken))
#define VELOTIDE_COREWEBVIEW2_5_METHODS(X)                                          \
    X(add_ClientCertificateRequested, (IUnknown *, EventRegistrationToken *))       \
    X(remove_ClientCertificateRequested, (EventRegistrationToken))
#define VELOTIDE_COREWEBVIEW2_6_METHODS(X) X(OpenTaskManagerWindow, ())
#define VELOTIDE_COREWEBVIEW2_7_METHODS(X) X(PrintToPdf, (LPCWSTR, IUnknown *, IUnknown *))
#define VELOTIDE_COREWEBVIEW2_8_METHODS(X)                                          \
    X(add_IsMutedChanged, (IUnknown *, EventRegistrationToken *))                   \
    X(remove_IsMutedChanged, (EventRegistrationToken))                              \
    X(get_IsMuted, (BOOL *))                                                        \
    X(put_IsMuted, (BOOL))                                                          \
    X(add_IsDocumentPlayingAudioChanged, (IUnknown *, EventRegistrationToken *))    \
    X(remove_IsDocumentPlayingAudioChanged, (EventRegistrationToken))               \
    X(get_IsDocumentPlayingAudio, (BOOL *))
#define VELOTIDE_COREWEBVIEW2_9_METHODS(X)                                          \
    X(add_IsDefaultDownloadDialogOpenChanged, (IUnknown *, EventRegistrationToken *)) \
    X(remove_IsDefaultDownloadDialogOpenChanged, (EventRegistrationToken))          \
    X(get_IsDefaultDownloadDialogOpen, (BOOL *))                                    \
    X(OpenDefaultDownloadDialog, ())                                                \
    X(CloseDefaultDownloadDialog, ())                                               \
    X(get_DefaultDownloadDialogCornerAlignment, (int *))                            \
    X(put_DefaultDownloadDialogCornerAlignment, (int))                              \
    X(get_DefaultDownloadDialogMargin, (POINT *))                                   \
    X(put_DefaultDownloadDialogMargin, (POINT))
#define VELOTIDE_COREWEBVIEW2_10_METHODS(X)                                         \
    X(add_BasicAuthenticationRequested, (ICoreWebView2BasicAuthenticationRequestedEventHandler *, EventRegistrationToken *))     \
    X(remove_BasicAuthenticationRequested, (EventRegistrationToken))
#define VELOTIDE_COREWEBVIEW2_11_METHODS(X)                                         \
    X(CallDevToolsProtocolMethodForSession, (LPCWSTR, LPCWSTR, LPCWSTR, IUnknown *)) \
    X(add_ContextMenuRequested, (IUnknown *, EventRegistrationToken *))             \
    X(remove_ContextMenuRequested, (EventRegistrationToken))
#define VELOTIDE_COREWEBVIEW2_12_METHODS(X)                                         \
    X(add_StatusBarTextChanged, (IUnknown *, EventRegistrationToken *))             \
    X(remove_StatusBarTextChanged, (EventRegistrationToken))                        \
    X(get_StatusBarText, (LPWSTR *))
#define VELOTIDE_COREWEBVIEW2_13_METHODS(X) X(get_Profile, (ICoreWebView2Profile **))
#define VELOTIDE_COREWEBVIEW2_14_METHODS(X)                                         \
    X(add_ServerCertificateErrorDetected, (ICoreWebView2ServerCertificateErrorDetectedEventHandler *, EventRegistrationToken *))   \
    X(remove_ServerCertificateErrorDetected, (EventRegistrationToken))              \
    X(ClearServerCertificateErrorActions, (IUnknown *))
#define VELOTIDE_COREWEBVIEW2_15_METHODS(X)                                         \
    X(add_FaviconChanged, (ICoreWebView2FaviconChangedEventHandler *, EventRegistrationToken *)) \
    X(remove_FaviconChanged, (EventRegistrationToken))                              \
    X(get_FaviconUri, (LPWSTR *))                                                   \
    X(GetFavicon, (COREWEBVIEW2_FAVICON_IMAGE_FORMAT, ICoreWebView2GetFaviconCompletedHandler *))
#define VELOTIDE_COREWEBVIEW2_16_METHODS(X)                                         \
    X(Print, (IUnknown *, IUnknown *))                                              \
    X(ShowPrintUI, (int))                                                           \
    X(PrintToPdfStream, (IUnknown *, IUnknown *))
#define VELOTIDE_COREWEBVIEW2_17_METHODS(X) X(PostSharedBufferToScript, (IUnknown *, int, LPCWSTR))
#define VELOTIDE_COREWEBVIEW2_18_METHODS(X)                                         \
    X(add_LaunchingExternalUriScheme, (ICoreWebView2LaunchingExternalUriSchemeEventHandler *, EventRegistrationToken *)) \
    X(remove_LaunchingExternalUriScheme, (EventRegistrationToken))
#define VELOTIDE_COREWEBVIEW2_19_METHODS(X)                                         \
    X(get_MemoryUsageTargetLevel, (COREWEBVIEW2_MEMORY_USAGE_TARGET_LEVEL *))       \
    X(put_MemoryUsageTargetLevel, (COREWEBVIEW2_MEMORY_USAGE_TARGET_LEVEL))
#define VELOTIDE_COREWEBVIEW2_20_METHODS(X) X(get_FrameId, (UINT32 *))
#define VELOTIDE_COREWEBVIEW2_21_METHODS(X) X(ExecuteScriptWithResult, (LPCWSTR, IUnknown *))
#define VELOTIDE_COREWEBVIEW2_23_METHODS(X) \
    X(PostWebMessageAsJsonWithAdditionalObjects, (LPCWSTR, ICoreWebView2ObjectCollectionView *))

#define VELOTIDE_DECLARE_SLOT(method, parameters) virtual HRESULT STDMETHODCALLTYPE method parameters = 0;
// One interface of a chain: name, deriving from base, with the slots methods lists.
#define VELOTIDE_DECLARE_LINK(name, base, uuid, methods) \
    MIDL_INTERFACE(uuid) name : public base {            \
    public:                                              \
        methods(VELOTIDE_DECLARE_SLOT)                   \
    };
#define VELOTIDE_DECLARE_WEBVIEW(number, base, uuid) \
    VELOTIDE_DECLARE_LINK(ICoreWebView2_##number, base, uuid, VELOTIDE_COREWEBVIEW2_##number##_METHODS)
VELOTIDE_DECLARE_WEBVIEW(2, ICoreWebView2, "9e8f0cf8-e670-4b5e-b2bc-73e061e3184c")
VELOTIDE_DECLARE_WEBVIEW(3, ICoreWebView2_2, "a0d6df20-3b92-416d-aa0c-437a9c727857")
VELOTIDE_DECLARE_WEBVIEW(4, ICoreWebView2_3, "20d02d59-6df2-42dc-bd06-f98a694b1302")
VELOTIDE_DECLARE_WEBVIEW(5, ICoreWebView2_4, "bedb11b8-d63c-11eb-b8bc-0242ac130003")
VELOTIDE_DECLARE_WEBVIEW(6, ICoreWebView2_5, "499aadac-d92c-4589-8a75-111bfc167795")
VELOTIDE_DECLARE_WEBVIEW(7, ICoreWebView2_6, "79c24d83-09a3-45ae-9418-487f32a58740")
VELOTIDE_DECLARE_WEBVIEW(8, ICoreWebView2_7, "e9632730-6e1e-43ab-b7b8-7b2c9e62e094")
VELOTIDE_DECLARE_WEBVIEW(9, ICoreWebView2_8, "4d7b2eab-9fdc-468d-b998-a9260b5ed651")
VELOTIDE_DECLARE_WEBVIEW(10, ICoreWebView2_9, "b1690564-6f5a-4983-8e48-31d1143fecdb")
VELOTIDE_DECLARE_WEBVIEW(11, ICoreWebView2_10, "0be78e56-c193-4051-b943-23b460c08bdb")
VELOTIDE_DECLARE_WEBVIEW(12, ICoreWebView2_11, "35d69927-bcfa-4566-9349-6b3e0d154cac")
VELOTIDE_DECLARE_WEBVIEW(13, ICoreWebView2_12, "f75f09a8-667e-4983-88d6-c8773f315e84")
VELOTIDE_DECLARE_WEBVIEW(14, ICoreWebView2_13, "6daa4f10-4a90-4753-8898-77c5df534165")
VELOTIDE_DECLARE_WEBVIEW(15, ICoreWebView2_14, "517b2d1d-7dae-4a66-a4f4-10352ffb9518")
VELOTIDE_DECLARE_WEBVIEW(16, ICoreWebView2_15, "0eb34dc9-9f91-41e1-8639-95cd5943906b")
VELOTIDE_DECLARE_WEBVIEW(17, ICoreWebView2_16, "702e75d4-fd44-434d-9d70-1a68a6b1192a")
VELOTIDE_DECLARE_WEBVIEW(18, ICoreWebView2_17, "7a626017-28be-49b2-b865-3ba2b3522d90")
VELOTIDE_DECLARE_WEBVIEW(19, ICoreWebView2_18, "6921f954-79b0-437f-a997-c85811897c68")
VELOTIDE_DECLARE_WEBVIEW(20, ICoreWebView2_19, "b4bc1926-7305-11ee-b962-0242ac120002")
VELOTIDE_DECLARE_WEBVIEW(21, ICoreWebView2_20, "c4980dea-587b-43b9-8143-3ef3bf552d95")

MIDL_INTERFACE("db75dfc7-a857-4632-a398-6969dde26c0a")
ICoreWebView2_22 : public ICoreWebView2_21 {
public:
    virtual HRESULT STDMETHODCALLTYPE AddWebResourceRequestedFilterWithRequestSourceKinds(const LPCWSTR uri, const COREWEBVIEW2_WEB_RESOURCE_CONTEXT resourceContext, const COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS requestSourceKinds) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveWebResourceRequestedFilterWithRequestSourceKinds(const LPCWSTR uri, const COREWEBVIEW2_WEB_RESOURCE_CONTEXT resourceContext, const COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS requestSourceKinds) = 0;
};

VELOTIDE_DECLARE_WEBVIEW(23, ICoreWebView2_22, "508f0db5-90c4-5872-90a7-267a91377502")
#undef VELOTIDE_DECLARE_WEBVIEW

// Notifications the page makes with new Notification(...) (runtime 1.0.2739.15 and later).
MIDL_INTERFACE("39a7ad55-4287-5cc1-88a1-c6f458593824")
ICoreWebView2_24 : public ICoreWebView2_23 {
public:
    virtual HRESULT STDMETHODCALLTYPE add_NotificationReceived(ICoreWebView2NotificationReceivedEventHandler *eventHandler, EventRegistrationToken *token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_NotificationReceived(EventRegistrationToken token) = 0;
};

// The interface IDs of the chain, which the program asks for by the newest
// it uses and an engine answers all of.
#define VELOTIDE_WEBVIEW_IID(number, d1, d2, d3, b0, b1, b2, b3, b4, b5, b6, b7) \
    EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2_##number = {d1, d2, d3, {b0, b1, b2, b3, b4, b5, b6, b7}};
VELOTIDE_WEBVIEW_IID(2, 0x9e8f0cf8, 0xe670, 0x4b5e, 0xb2, 0xbc, 0x73, 0xe0, 0x61, 0xe3, 0x18, 0x4c)
VELOTIDE_WEBVIEW_IID(3, 0xa0d6df20, 0x3b92, 0x416d, 0xaa, 0x0c, 0x43, 0x7a, 0x9c, 0x72, 0x78, 0x57)
VELOTIDE_WEBVIEW_IID(4, 0x20d02d59, 0x6df2, 0x42dc, 0xbd, 0x06, 0xf9, 0x8a, 0x69, 0x4b, 0x13, 0x02)
VELOTIDE_WEBVIEW_IID(5, 0xbedb11b8, 0xd63c, 0x11eb, 0xb8, 0xbc, 0x02, 0x42, 0xac, 0x13, 0x00, 0x03)
VELOTIDE_WEBVIEW_IID(6, 0x499aadac, 0xd92c, 0x4589, 0x8a, 0x75, 0x11, 0x1b, 0xfc, 0x16, 0x77, 0x95)
VELOTIDE_WEBVIEW_IID(7, 0x79c24d83, 0x09a3, 0x45ae, 0x94, 0x18, 0x48, 0x7f, 0x32, 0xa5, 0x87, 0x40)
VELOTIDE_WEBVIEW_IID(8, 0xe9632730, 0x6e1e, 0x43ab, 0xb7, 0xb8, 0x7b, 0x2c, 0x9e, 0x62, 0xe0, 0x94)
VELOTIDE_WEBVIEW_IID(9, 0x4d7b2eab, 0x9fdc, 0x468d, 0xb9, 0x98, 0xa9, 0x26, 0x0b, 0x5e, 0xd6, 0x51)
VELOTIDE_WEBVIEW_IID(10, 0xb1690564, 0x6f5a, 0x4983, 0x8e, 0x48, 0x31, 0xd1, 0x14, 0x3f, 0xec, 0xdb)
VELOTIDE_WEBVIEW_IID(11, 0x0be78e56, 0xc193, 0x4051, 0xb9, 0x43, 0x23, 0xb4, 0x60, 0xc0, 0x8b, 0xdb)
VELOTIDE_WEBVIEW_IID(12, 0x35d69927, 0xbcfa, 0x4566, 0x93, 0x49, 0x6b, 0x3e, 0x0d, 0x15, 0x4c, 0xac)
VELOTIDE_WEBVIEW_IID(13, 0xf75f09a8, 0x667e, 0x4983, 0x88, 0xd6, 0xc8, 0x77, 0x3f, 0x31, 0x5e, 0x84)
VELOTIDE_WEBVIEW_IID(14, 0x6daa4f10, 0x4a90, 0x4753, 0x88, 0x98, 0x77, 0xc5, 0xdf, 0x53, 0x41, 0x65)
VELOTIDE_WEBVIEW_IID(15, 0x517b2d1d, 0x7dae, 0x4a66, 0xa4, 0xf4, 0x10, 0x35, 0x2f, 0xfb, 0x95, 0x18)
VELOTIDE_WEBVIEW_IID(16, 0x0eb34dc9, 0x9f91, 0x41e1, 0x86, 0x39, 0x95, 0xcd, 0x59, 0x43, 0x90, 0x6b)
VELOTIDE_WEBVIEW_IID(17, 0x702e75d4, 0xfd44, 0x434d, 0x9d, 0x70, 0x1a, 0x68, 0xa6, 0xb1, 0x19, 0x2a)
VELOTIDE_WEBVIEW_IID(18, 0x7a626017, 0x28be, 0x49b2, 0xb8, 0x65, 0x3b, 0xa2, 0xb3, 0x52, 0x2d, 0x90)
VELOTIDE_WEBVIEW_IID(19, 0x6921f954, 0x79b0, 0x437f, 0xa9, 0x97, 0xc8, 0x58, 0x11, 0x89, 0x7c, 0x68)
VELOTIDE_WEBVIEW_IID(20, 0xb4bc1926, 0x7305, 0x11ee, 0xb9, 0x62, 0x02, 0x42, 0xac, 0x12, 0x00, 0x02)
VELOTIDE_WEBVIEW_IID(21, 0xc4980dea, 0x587b, 0x43b9, 0x81, 0x43, 0x3e, 0xf3, 0xbf, 0x55, 0x2d, 0x95)
VELOTIDE_WEBVIEW_IID(22, 0xdb75dfc7, 0xa857, 0x4632, 0xa3, 0x98, 0x69, 0x69, 0xdd, 0xe2, 0x6c, 0x0a)
VELOTIDE_WEBVIEW_IID(23, 0x508f0db5, 0x90c4, 0x5872, 0x90, 0xa7, 0x26, 0x7a, 0x91, 0x37, 0x75, 0x02)
VELOTIDE_WEBVIEW_IID(24, 0x39a7ad55, 0x4287, 0x5cc1, 0x88, 0xa1, 0xc6, 0xf4, 0x58, 0x59, 0x38, 0x24)
VELOTIDE_WEBVIEW_IID(25, 0xb5a86092, 0xdf50, 0x5b4f, 0xa1, 0x7b, 0x6c, 0x8f, 0x8b, 0x40, 0xb7, 0x71)
#undef VELOTIDE_WEBVIEW_IID

// The page's "Save as", which a key or the page asks for: Cancel stops it
// before its file dialog opens.
MIDL_INTERFACE("55902952-0e0d-5aaa-a7d0-e833cdb34f62")
ICoreWebView2SaveAsUIShowingEventArgs : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE get_ContentMimeType(LPWSTR *value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Cancel(BOOL value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Cancel(BOOL *value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_SuppressDefaultDialog(BOOL value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_SuppressDefaultDialog(BOOL *value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral **deferral) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_SaveAsFilePath(LPCWSTR value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_SaveAsFilePath(LPWSTR *value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_AllowReplace(BOOL value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_AllowReplace(BOOL *value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Kind(int value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Kind(int *value) = 0;
};

MIDL_INTERFACE("6baa177e-3a2e-5ccf-9a13-fad676cd0522")
ICoreWebView2SaveAsUIShowingEventHandler : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2 *sender, ICoreWebView2SaveAsUIShowingEventArgs *args) = 0;
};

MIDL_INTERFACE("b5a86092-df50-5b4f-a17b-6c8f8b40b771")
ICoreWebView2_25 : public ICoreWebView2_24 {
public:
    virtual HRESULT STDMETHODCALLTYPE add_SaveAsUIShowing(ICoreWebView2SaveAsUIShowingEventHandler *eventHandler, EventRegistrationToken *token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_SaveAsUIShowing(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE ShowSaveAsUI(IUnknown *handler) = 0;
};

EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2SaveAsUIShowingEventArgs = {0x55902952, 0x0e0d, 0x5aaa, {0xa7, 0xd0, 0xe8, 0x33, 0xcd, 0xb3, 0x4f, 0x62}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2SaveAsUIShowingEventHandler = {0x6baa177e, 0x3a2e, 0x5ccf, {0x9a, 0x13, 0xfa, 0xd6, 0x76, 0xcd, 0x05, 0x22}};

// The view's settings for a screen nobody sits at: the runtime's own context
// menu and keys (print, find, zoom, history, developer tools) can be turned off.
MIDL_INTERFACE("ee9a0f68-f46c-4e32-ac23-ef8cac224d2a")
ICoreWebView2Settings2 : public ICoreWebView2Settings {
public:
    virtual HRESULT STDMETHODCALLTYPE get_UserAgent(LPWSTR *userAgent) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_UserAgent(LPCWSTR userAgent) = 0;
};

MIDL_INTERFACE("fdb5ab74-af33-4854-84f0-0a631deb5eba")
ICoreWebView2Settings3 : public ICoreWebView2Settings2 {
public:
    virtual HRESULT STDMETHODCALLTYPE get_AreBrowserAcceleratorKeysEnabled(BOOL *areBrowserAcceleratorKeysEnabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_AreBrowserAcceleratorKeysEnabled(BOOL areBrowserAcceleratorKeysEnabled) = 0;
};

MIDL_INTERFACE("cb56846c-4168-4d53-b04f-03b6d6796ff2")
ICoreWebView2Settings4 : public ICoreWebView2Settings3 {
public:
    virtual HRESULT STDMETHODCALLTYPE get_IsPasswordAutosaveEnabled(BOOL *value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_IsPasswordAutosaveEnabled(BOOL value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsGeneralAutofillEnabled(BOOL *value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_IsGeneralAutofillEnabled(BOOL value) = 0;
};

MIDL_INTERFACE("183e7052-1d03-43a0-ab99-98e043b66b39")
ICoreWebView2Settings5 : public ICoreWebView2Settings4 {
public:
    virtual HRESULT STDMETHODCALLTYPE get_IsPinchZoomEnabled(BOOL *value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_IsPinchZoomEnabled(BOOL value) = 0;
};

// Swiping left or right goes back or forward in the view's history.
MIDL_INTERFACE("11cb3acd-9bc8-43b8-83bf-f40753714f87")
ICoreWebView2Settings6 : public ICoreWebView2Settings5 {
public:
    virtual HRESULT STDMETHODCALLTYPE get_IsSwipeNavigationEnabled(BOOL *value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_IsSwipeNavigationEnabled(BOOL value) = 0;
};

// The items of the PDF viewer's toolbar, a bit each.
typedef enum COREWEBVIEW2_PDF_TOOLBAR_ITEMS {
    COREWEBVIEW2_PDF_TOOLBAR_ITEMS_NONE = 0,
    COREWEBVIEW2_PDF_TOOLBAR_ITEMS_SAVE = 0x1,
    COREWEBVIEW2_PDF_TOOLBAR_ITEMS_PRINT = 0x2,
    COREWEBVIEW2_PDF_TOOLBAR_ITEMS_SAVE_AS = 0x4,
    COREWEBVIEW2_PDF_TOOLBAR_ITEMS_MORE_SETTINGS = 0x1000,
} COREWEBVIEW2_PDF_TOOLBAR_ITEMS;

MIDL_INTERFACE("488dc902-35ef-42d2-bc7d-94b65c4bc49c")
ICoreWebView2Settings7 : public ICoreWebView2Settings6 {
public:
    virtual HRESULT STDMETHODCALLTYPE get_HiddenPdfToolbarItems(COREWEBVIEW2_PDF_TOOLBAR_ITEMS *value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_HiddenPdfToolbarItems(COREWEBVIEW2_PDF_TOOLBAR_ITEMS value) = 0;
};

EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2Settings2 = {0xee9a0f68, 0xf46c, 0x4e32, {0xac, 0x23, 0xef, 0x8c, 0xac, 0x22, 0x4d, 0x2a}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2Settings3 = {0xfdb5ab74, 0xaf33, 0x4854, {0x84, 0xf0, 0x0a, 0x63, 0x1d, 0xeb, 0x5e, 0xba}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2Settings4 = {0xcb56846c, 0x4168, 0x4d53, {0xb0, 0x4f, 0x03, 0xb6, 0xd6, 0x79, 0x6f, 0xf2}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2Settings5 = {0x183e7052, 0x1d03, 0x43a0, {0xab, 0x99, 0x98, 0xe0, 0x43, 0xb6, 0x6b, 0x39}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2Settings6 = {0x11cb3acd, 0x9bc8, 0x43b8, {0x83, 0xbf, 0xf4, 0x07, 0x53, 0x71, 0x4f, 0x87}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2Settings7 = {0x488dc902, 0x35ef, 0x42d2, {0xbc, 0x7d, 0x94, 0xb6, 0x5c, 0x4b, 0xc4, 0x9c}};

// What a new view is made with: its profile's name and whether it is
// InPrivate (runtime 1.0.1185.36 and later).
MIDL_INTERFACE("12aae616-8ccb-44ec-bcb3-eb1831881635")
ICoreWebView2ControllerOptions : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE get_ProfileName(LPWSTR *value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_ProfileName(LPCWSTR value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsInPrivateModeEnabled(BOOL *value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_IsInPrivateModeEnabled(BOOL value) = 0;
};

EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2ControllerOptions = {0x12aae616, 0x8ccb, 0x44ec, {0xbc, 0xb3, 0xeb, 0x18, 0x31, 0x88, 0x16, 0x35}};

// ICoreWebView2Environment2 to ICoreWebView2Environment10, each deriving from
// the one before, as X-macro lists like the view's chain. Only the view made
// with options is used, so the others take simplified parameter types.
#define VELOTIDE_ENVIRONMENT_2_METHODS(X) \
    X(CreateWebResourceRequest, (LPCWSTR, LPCWSTR, IStream *, LPCWSTR, ICoreWebView2WebResourceRequest **))
#define VELOTIDE_ENVIRONMENT_3_METHODS(X)                          \
    X(CreateCoreWebView2CompositionController, (HWND, IUnknown *)) \
    X(CreateCoreWebView2PointerInfo, (IUnknown **))
#define VELOTIDE_ENVIRONMENT_4_METHODS(X) X(GetAutomationProviderForWindow, (HWND, IUnknown **))
#define VELOTIDE_ENVIRONMENT_5_METHODS(X)                                 \
    X(add_BrowserProcessExited, (IUnknown *, EventRegistrationToken *)) \
    X(remove_BrowserProcessExited, (EventRegistrationToken))
#define VELOTIDE_ENVIRONMENT_6_METHODS(X) X(CreatePrintSettings, (IUnknown **))
#define VELOTIDE_ENVIRONMENT_7_METHODS(X) X(get_UserDataFolder, (LPWSTR *))
#define VELOTIDE_ENVIRONMENT_8_METHODS(X)                                 \
    X(add_ProcessInfosChanged, (IUnknown *, EventRegistrationToken *)) \
    X(remove_ProcessInfosChanged, (EventRegistrationToken))            \
    X(GetProcessInfos, (IUnknown **))
#define VELOTIDE_ENVIRONMENT_9_METHODS(X) \
    X(CreateContextMenuItem, (LPCWSTR, IStream *, int, IUnknown **))
#define VELOTIDE_ENVIRONMENT_10_METHODS(X)                                                                   \
    X(CreateCoreWebView2ControllerOptions, (ICoreWebView2ControllerOptions **))                             \
    X(CreateCoreWebView2ControllerWithOptions, (HWND, ICoreWebView2ControllerOptions *,                       \
                                                ICoreWebView2CreateCoreWebView2ControllerCompletedHandler *)) \
    X(CreateCoreWebView2CompositionControllerWithOptions, (HWND, ICoreWebView2ControllerOptions *, IUnknown *))

#define VELOTIDE_DECLARE_ENVIRONMENT(number, base, uuid) \
    VELOTIDE_DECLARE_LINK(ICoreWebView2Environment##number, base, uuid, VELOTIDE_ENVIRONMENT_##number##_METHODS)
VELOTIDE_DECLARE_ENVIRONMENT(2, ICoreWebView2Environment, "41f3632b-5ef4-404f-ad82-2d606c5a9a21")
VELOTIDE_DECLARE_ENVIRONMENT(3, ICoreWebView2Environment2, "80a22ae3-be7c-4ce2-afe1-5a50056cdeeb")
VELOTIDE_DECLARE_ENVIRONMENT(4, ICoreWebView2Environment3, "20944379-6dcf-41d6-a0a0-abc0fc50de0d")
VELOTIDE_DECLARE_ENVIRONMENT(5, ICoreWebView2Environment4, "319e423d-e0d7-4b8d-9254-ae9475de9b17")
VELOTIDE_DECLARE_ENVIRONMENT(6, ICoreWebView2Environment5, "e59ee362-acbd-4857-9a8e-d3644d9459a9")
VELOTIDE_DECLARE_ENVIRONMENT(7, ICoreWebView2Environment6, "43c22296-3bbd-43a4-9c00-5c0df6dd29a2")
VELOTIDE_DECLARE_ENVIRONMENT(8, ICoreWebView2Environment7, "d6eb91dd-c3d2-45e5-bd29-6dc2bc4de9cf")
VELOTIDE_DECLARE_ENVIRONMENT(9, ICoreWebView2Environment8, "f06f41bf-4b5a-49d8-b9f6-fa16cd29f274")
VELOTIDE_DECLARE_ENVIRONMENT(10, ICoreWebView2Environment9, "ee0eb9df-6f12-46ce-b53f-3f47b9c928e0")
#undef VELOTIDE_DECLARE_ENVIRONMENT
#undef VELOTIDE_DECLARE_LINK
#undef VELOTIDE_DECLARE_SLOT

EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2Environment2 = {0x41f3632b, 0x5ef4, 0x404f, {0xad, 0x82, 0x2d, 0x60, 0x6c, 0x5a, 0x9a, 0x21}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2Environment3 = {0x80a22ae3, 0xbe7c, 0x4ce2, {0xaf, 0xe1, 0x5a, 0x50, 0x05, 0x6c, 0xde, 0xeb}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2Environment4 = {0x20944379, 0x6dcf, 0x41d6, {0xa0, 0xa0, 0xab, 0xc0, 0xfc, 0x50, 0xde, 0x0d}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2Environment5 = {0x319e423d, 0xe0d7, 0x4b8d, {0x92, 0x54, 0xae, 0x94, 0x75, 0xde, 0x9b, 0x17}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2Environment6 = {0xe59ee362, 0xacbd, 0x4857, {0x9a, 0x8e, 0xd3, 0x64, 0x4d, 0x94, 0x59, 0xa9}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2Environment7 = {0x43c22296, 0x3bbd, 0x43a4, {0x9c, 0x00, 0x5c, 0x0d, 0xf6, 0xdd, 0x29, 0xa2}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2Environment8 = {0xd6eb91dd, 0xc3d2, 0x45e5, {0xbd, 0x29, 0x6d, 0xc2, 0xbc, 0x4d, 0xe9, 0xcf}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2Environment9 = {0xf06f41bf, 0x4b5a, 0x49d8, {0xb9, 0xf6, 0xfa, 0x16, 0xcd, 0x29, 0xf2, 0x74}};
EXTERN_C __declspec(selectany) const IID IID_ICoreWebView2Environment10 = {0xee0eb9df, 0x6f12, 0x46ce, {0xb5, 0x3f, 0x3f, 0x47, 0xb9, 0xc9, 0x28, 0xe0}};

// The loader's one export.
STDAPI CreateCoreWebView2EnvironmentWithOptions(PCWSTR browserExecutableFolder,
    PCWSTR userDataFolder, ICoreWebView2EnvironmentOptions* environmentOptions,
    ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* environmentCreatedHandler);
