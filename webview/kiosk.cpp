#include "webview/kiosk.h"

#include "app/app_state.h"
#include "webview/handler.h"
#include "webview/page_dialogs.h"
#include "webview/startup.h"
#include "webview/view_notices.h"

namespace {

// Run in every document before the page's own scripts: print(), the pickers,
// and a file input's click (however it comes: the pointer, the keyboard, whose
// Space and Enter click it, a label, the click(), showPicker() or
// dispatchEvent() any element inherits, also on an input not in the document
// or on what holds it there (a label), or in a shadow root: each is made open,
// so that the window's listener, which hears a click before the page can stop
// it, sees the input in a closed one too) do nothing. What tells a file input,
// an event's path and a node's place is the browser's own as it was before
// the page ran: a page that redefines them (an input's type, composedPath(),
// isConnected) can't slip a click past. A frame's window is disarmed too when
// the page reaches it before the frame's own copy ran (once: on a window
// disarmed already, the first step throws).
const char kDisarmScript[] =
    "(()=>{const t=this,R=Reflect.apply,o=Object,D=o.defineProperty,n=()=>{},E=t.Event.prototype,"
    "N=t.Node.prototype,G=(p,k)=>o.getOwnPropertyDescriptor(p,k).get,y=G(t.HTMLInputElement.prototype,'type'),"
    "T=G(E,'type'),I=G(N,'isConnected'),P=E.composedPath,V=E.preventDefault,O=N.getRootNode,"
    "Q=[t.Element.prototype.querySelector,t.DocumentFragment.prototype.querySelector],"
    "A=(g,x,a=[])=>{try{return R(g,x,a)}catch{}},f=x=>A(y,x)=='file',"
    "h=x=>f(x)||A(I,x)===!1&&(r=>A(Q[0],r,['input[type=file]'])||A(Q[1],r,['input[type=file]']))(A(O,x)),"
    "c=v=>f(A(P,v)?.[0])&&A(V,v),d=w=>{try{"
    "for(const k of['print','showOpenFilePicker','showSaveFilePicker','showDirectoryPicker'])"
    "D(w,k,{value:n,writable:!1,configurable:!1});"
    "const r=w.HTMLIFrameElement.prototype,g=r.__lookupGetter__('contentWindow'),e=w.Element.prototype,"
    "a=e.attachShadow;"
    "for(const[p,k]of[[w.HTMLElement,'click'],[w.HTMLInputElement,'showPicker'],[w.EventTarget,'dispatchEvent']])"
    "{const q=p.prototype,m=q[k];"
    "m&&(q[k]=function(v){return h(this)&&(k[0]!='d'||A(T,v)=='click')?!1:R(m,this,[v])})}"
    "e.attachShadow=function(i){return R(a,this,[{...i,mode:'open'}])};"
    "D(r,'contentWindow',{get(){const c=R(g,this,[]);return c&&d(c),c}});"
    "w.addEventListener('click',c,!0)}catch{}};d(t)})()";

}  // namespace

void TurnOffRuntimeControls(ICoreWebView2Settings* settings) {
    settings->put_AreDefaultContextMenusEnabled(FALSE);
    if (auto settings3 = AsNewer<ICoreWebView2Settings3>(settings, IID_ICoreWebView2Settings3)) {
        settings3->put_AreBrowserAcceleratorKeysEnabled(FALSE);
        settings3->Release();
    }
    // One visitor's form entries and passwords would be offered to the next.
    if (auto settings4 = AsNewer<ICoreWebView2Settings4>(settings, IID_ICoreWebView2Settings4)) {
        settings4->put_IsGeneralAutofillEnabled(FALSE);
        settings4->put_IsPasswordAutosaveEnabled(FALSE);
        settings4->Release();
    }
    // A swipe would lead back to pages the visitor's predecessor saw.
    if (auto settings6 = AsNewer<ICoreWebView2Settings6>(settings, IID_ICoreWebView2Settings6)) {
        settings6->put_IsSwipeNavigationEnabled(FALSE);
        settings6->Release();
    }
    // Each of them opens a file or print dialog, and from it the whole machine.
    if (auto settings7 = AsNewer<ICoreWebView2Settings7>(settings, IID_ICoreWebView2Settings7)) {
        settings7->put_HiddenPdfToolbarItems(static_cast<COREWEBVIEW2_PDF_TOOLBAR_ITEMS>(
            COREWEBVIEW2_PDF_TOOLBAR_ITEMS_SAVE | COREWEBVIEW2_PDF_TOOLBAR_ITEMS_PRINT |
            COREWEBVIEW2_PDF_TOOLBAR_ITEMS_SAVE_AS));
        settings7->Release();
    }
}

void AddKioskRefusals(ICoreWebView2* view) {
    EventRegistrationToken token;
    auto refuse = [](ICoreWebView2*, auto* args) { return args->put_Cancel(TRUE); };
    if (auto view4 = AsNewer<ICoreWebView2_4>(view, IID_ICoreWebView2_4)) {
        view4->add_DownloadStarting(Give(new OnDownload_(refuse)), &token);
        view4->Release();
    }
    if (auto view25 = AsNewer<ICoreWebView2_25>(view, IID_ICoreWebView2_25)) {
        view25->add_SaveAsUIShowing(Give(new OnSaveAs_(refuse)), &token);
        view25->Release();
    }
    std::wstring script(kDisarmScript, kDisarmScript + sizeof(kDisarmScript) - 1);
    view->AddScriptToExecuteOnDocumentCreated(script.c_str(), nullptr);
}

void ResetForNextVisitor() {
    EndPageDialogs();  // the last visitor's questions go with them
    // Cleared or not (an older runtime can't), the site starts afresh once
    // the engine has answered, from the message loop.
    auto* profile = static_cast<ICoreWebView2Profile2*>(ViewProfileAs(g_app.webview, IID_ICoreWebView2Profile2));
    if (!profile || FAILED(profile->ClearBrowsingDataAll(Give(new OnCleared_([](HRESULT) {
            PostViewNotice(kNoticeSessionCleared);
            return S_OK;
        })))))
        PostViewNotice(kNoticeSessionCleared);
    if (profile) profile->Release();
}

void StartForNextVisitor() {
    // Not the last visitor's page, even after a lost browser or at a try of
    // a page that failed; and a view the runtime can't make now is tried
    // again later, as a lost browser is: nobody is there to answer a message.
    g_app.reopenAddress.clear();
    g_app.nav.currentAddress.clear();
    g_app.nav.failedAddress.clear();
    g_app.engineRestarted = true;
    ReopenView();
}
