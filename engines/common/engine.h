// Shared pieces of the test engine: the IUnknown part of its objects, a
// reference holder, the log, and the queue that delivers work from the
// message loop of the thread that created the environment.
#pragma once

#include "webview/webview2.h"

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

// An object that answers IUnknown and its own interface only, or each
// interface of a chain it implements whole (ICoreWebView2 to _22, say).
template <class I>
class ComObject : public I {
public:
    explicit ComObject(const IID& iid) : iids_{&iid} {}
    explicit ComObject(std::initializer_list<const IID*> chain) : iids_(chain) {}
    virtual ~ComObject() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        bool ours = IsEqualIID(riid, IID_IUnknown);
        for (const IID* iid : iids_) ours = ours || IsEqualIID(riid, *iid);
        if (ours) {
            *out = static_cast<I*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG n = InterlockedDecrement(&refs_);
        if (n == 0) delete this;
        return n;
    }

private:
    LONG refs_ = 1;
    std::vector<const IID*> iids_;
};

// Holds one reference to a COM object.
template <class T>
class Ref {
public:
    Ref() = default;
    Ref(T* p) : p_(p) {
        if (p_) p_->AddRef();
    }  // takes a reference of its own
    Ref(const Ref& o) : Ref(o.p_) {}
    Ref& operator=(const Ref& o) {
        Ref copy(o);
        std::swap(p_, copy.p_);
        return *this;
    }
    ~Ref() {
        if (p_) p_->Release();
    }
    static Ref Adopt(T* p) {  // takes over a reference the caller owns
        Ref r;
        r.p_ = p;
        return r;
    }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    T* p_ = nullptr;
};

// Appends one line to the file named by VELOTIDE_TEST_ENGINE_LOG, as UTF-8.
void EngineLog(const std::wstring& line);
// A short setting of the engine's from the environment (engine_protocol.h); "" when unset.
std::wstring EngineVariable(const wchar_t* name);

// Runs task later, from the message loop of the thread that called
// EngineDispatchInit (the thread that created the environment).
void EngineDispatchInit(HINSTANCE module);
void PostTask(std::function<void()> task);

HINSTANCE EngineModule();

// What every engine's export does first: keeps the DLL loaded (the loader
// frees it once the call returns, and posted work must stay mapped), sets up
// the task queue on this thread, makes the user-data folder and logs the request.
void OpenEnvironmentRequest(bool checkRunningInstance, int runtimeType, PCWSTR userDataFolder);

// Fills an out parameter, as every getter of the engine does.
template <class T, class V>
HRESULT Out(T* out, V value) {
    if (!out) return E_POINTER;
    *out = static_cast<T>(value);
    return S_OK;
}

// Hands out an interface pointer with a reference of the caller's own.
template <class I>
HRESULT OutRef(I** out, I* object) {
    if (!out) return E_POINTER;
    *out = object;
    if (object) object->AddRef();
    return S_OK;
}

// Copies text into a CoTaskMemAlloc'd string for an LPWSTR* out parameter.
HRESULT ReturnString(const std::wstring& text, LPWSTR* out);
