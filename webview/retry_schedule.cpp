#include "webview/retry_schedule.h"

#include <cwchar>

DWORD FailureRetryDelayMs(unsigned tries) {
    static const DWORD kWaits[] = {10000, 30000, 60000};
    return kWaits[tries < 2 ? tries : 2];
}

DWORD RecoveryDelayMs(unsigned tries) {
    if (tries == 0) return 0;
    // 5 s doubled for each further try, up to the minute.
    return tries >= 5 ? 60000 : 5000u << (tries - 1);
}

// Read once: the schedule doesn't change while the program runs.
static unsigned WaitScalePercent() {
    static const unsigned percent = [] {
        wchar_t value[8] = {};
        DWORD length = GetEnvironmentVariableW(L"VELOTIDE_WAIT_SCALE", value, 8);
        wchar_t* end = nullptr;
        unsigned long given = length && length < 8 ? wcstoul(value, &end, 10) : 0;
        return given >= 1 && given <= 100 && end && !*end ? static_cast<unsigned>(given) : 100u;
    }();
    return percent;
}

DWORD ScaledWait(DWORD ms) { return static_cast<DWORD>(static_cast<ULONGLONG>(ms) * WaitScalePercent() / 100); }
