// Watches the COM task allocator so that tests can tell how often a string
// handed out "by the engine" was freed with CoTaskMemFree.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <cstring>
#include <map>

// Registered once for the whole test process and never revoked: blocks
// allocated while it watches may outlive any one test.
class TaskMemoryWatch : public IMallocSpy {
public:
    static TaskMemoryWatch& Get() {
        static TaskMemoryWatch* watch = [] {
            auto* w = new TaskMemoryWatch;
            w->registered = SUCCEEDED(CoRegisterMallocSpy(w));
            return w;
        }();
        return *watch;
    }

    bool registered = false;

    // A copy of text allocated the way the engine hands out strings.
    LPWSTR Allocate(const wchar_t* text) {
        size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
        auto* block = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
        memcpy(block, text, bytes);
        frees_.erase(block);  // the address may have been used before
        return block;
    }
    int FreesOf(void* block) const {
        auto found = frees_.find(block);
        return found == frees_.end() ? 0 : found->second;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, __uuidof(IMallocSpy))) {
            *out = this;
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // lives for the process
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    SIZE_T STDMETHODCALLTYPE PreAlloc(SIZE_T size) override { return size; }
    void* STDMETHODCALLTYPE PostAlloc(void* actual) override { return actual; }
    void* STDMETHODCALLTYPE PreFree(void* request, BOOL) override {
        if (request) ++frees_[request];
        return request;
    }
    void STDMETHODCALLTYPE PostFree(BOOL) override {}
    SIZE_T STDMETHODCALLTYPE PreRealloc(void* request, SIZE_T size, void** newRequest, BOOL) override {
        *newRequest = request;
        return size;
    }
    void* STDMETHODCALLTYPE PostRealloc(void* actual, BOOL) override { return actual; }
    void* STDMETHODCALLTYPE PreGetSize(void* request, BOOL) override { return request; }
    SIZE_T STDMETHODCALLTYPE PostGetSize(SIZE_T size, BOOL) override { return size; }
    void* STDMETHODCALLTYPE PreDidAlloc(void* request, BOOL) override { return request; }
    int STDMETHODCALLTYPE PostDidAlloc(void*, BOOL, int actual) override { return actual; }
    void STDMETHODCALLTYPE PreHeapMinimize() override {}
    void STDMETHODCALLTYPE PostHeapMinimize() override {}

private:
    TaskMemoryWatch() = default;
    std::map<void*, int> frees_;
};
