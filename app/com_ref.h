// A COM interface pointer that lets go of its reference when it goes out of
// scope, for the shell and imaging objects a function uses and drops.
#pragma once

template <typename T>
class ComRef {
public:
    ComRef() = default;
    ~ComRef() {
        if (p_) p_->Release();
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;

    T* operator->() const { return p_; }
    operator T*() const { return p_; }
    // Where a creating call puts the new pointer (the object holds none yet).
    T** operator&() { return &p_; }
    void** out() { return reinterpret_cast<void**>(&p_); }

private:
    T* p_ = nullptr;
};
