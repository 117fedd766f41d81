// The controller face: the view window's place, visibility and focus, the
// key event, and Close, over any engine's Browser.
#include "engines/common/browser.h"

// view.cpp
ICoreWebView2* CreateViewFace(const BrowserPtr& browser);
ICoreWebView2Settings* CreateSettings();

namespace {

const HRESULT kClosed = HRESULT_FROM_WIN32(ERROR_INVALID_STATE);

class Controller : public ComObject<ICoreWebView2Controller> {
public:
    explicit Controller(const BrowserPtr& browser) : ComObject(IID_ICoreWebView2Controller), b_(browser) {
        b_->controller = this;
        b_->settings = Ref<ICoreWebView2Settings>::Adopt(CreateSettings());
        view_ = Ref<ICoreWebView2>::Adopt(CreateViewFace(b_));
        if (b_->profile) b_->profile->AddView(b_);
    }
    ~Controller() override {
        b_->Close();  // the last reference closes, as Close would
        b_->controller = nullptr;
    }

    HRESULT STDMETHODCALLTYPE get_IsVisible(BOOL* visible) override { return Out(visible, b_->visible); }
    HRESULT STDMETHODCALLTYPE put_IsVisible(BOOL visible) override {
        if (b_->closed) return kClosed;
        b_->visible = visible != FALSE;
        ShowWindow(b_->window, b_->visible ? SW_SHOW : SW_HIDE);
        EngineLog(b_->visible ? L"visible 1" : L"visible 0");
        b_->VisibilityChanged();
        if (b_->visible) ResumePage(*b_);  // a suspended view wakes by itself when shown
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Bounds(RECT* bounds) override { return Out(bounds, b_->bounds); }
    HRESULT STDMETHODCALLTYPE put_Bounds(RECT r) override {
        if (b_->closed) return kClosed;
        b_->bounds = r;
        MoveWindow(b_->window, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
        EngineLog(L"bounds " + std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L"," +
                  std::to_wstring(r.right) + L"," + std::to_wstring(r.bottom));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_ZoomFactor(double*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_ZoomFactor(double) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE add_ZoomFactorChanged(ICoreWebView2ZoomFactorChangedEventHandler*,
                                                    EventRegistrationToken*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE remove_ZoomFactorChanged(EventRegistrationToken) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetBoundsAndZoomFactor(RECT, double) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON reason) override {
        if (b_->closed) return kClosed;
        SetFocus(b_->window);
        EngineLog(L"focus " + std::to_wstring(reason));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE add_MoveFocusRequested(ICoreWebView2MoveFocusRequestedEventHandler*,
                                                     EventRegistrationToken*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE remove_MoveFocusRequested(EventRegistrationToken) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE add_GotFocus(ICoreWebView2FocusChangedEventHandler*, EventRegistrationToken*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE remove_GotFocus(EventRegistrationToken) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE add_LostFocus(ICoreWebView2FocusChangedEventHandler*, EventRegistrationToken*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE remove_LostFocus(EventRegistrationToken) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE add_AcceleratorKeyPressed(ICoreWebView2AcceleratorKeyPressedEventHandler* handler,
                                                        EventRegistrationToken* token) override {
        return b_->closed ? kClosed : b_->acceleratorKeyPressed.Add(handler, token);
    }
    HRESULT STDMETHODCALLTYPE remove_AcceleratorKeyPressed(EventRegistrationToken token) override {
        return b_->acceleratorKeyPressed.Remove(token);
    }
    HRESULT STDMETHODCALLTYPE get_ParentWindow(HWND* parent) override { return Out(parent, GetParent(b_->window)); }
    HRESULT STDMETHODCALLTYPE put_ParentWindow(HWND) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE NotifyParentWindowPositionChanged() override {
        if (b_->closed) return kClosed;
        EngineLog(L"parent moved");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Close() override {
        b_->Close();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_CoreWebView2(ICoreWebView2** view) override {
        return b_->closed ? kClosed : OutRef(view, view_.get());
    }

private:
    BrowserPtr b_;
    Ref<ICoreWebView2> view_;
};

}  // namespace

ICoreWebView2Controller* CreateControllerFace(const BrowserPtr& browser) { return new Controller(browser); }
