#include "app/network_watch.h"

#include <initguid.h>
#include <netlistmgr.h>
#include <ocidl.h>

#include "webview/handler.h"

namespace {

// The sink Windows calls on the window's thread (a single-threaded
// apartment) when the connectivity changes; its body is what to do when the
// network is back.
struct ConnectivitySink : Handler<INetworkListManagerEvents, void (*)()> {
    explicit ConnectivitySink(void (*onBack)()) : ConnectivitySink::Handler(onBack, IID_INetworkListManagerEvents) {}
    HRESULT STDMETHODCALLTYPE ConnectivityChanged(NLM_CONNECTIVITY connectivity) override {
        if (ConnectivityCarriesTraffic(connectivity)) body_();
        return S_OK;
    }
};

IConnectionPoint* point = nullptr;  // while watching
DWORD cookie = 0;

}  // namespace

bool ConnectivityCarriesTraffic(DWORD connectivity) {
    const DWORD kTraffic = NLM_CONNECTIVITY_IPV4_SUBNET | NLM_CONNECTIVITY_IPV4_LOCALNETWORK |
                           NLM_CONNECTIVITY_IPV4_INTERNET | NLM_CONNECTIVITY_IPV6_SUBNET |
                           NLM_CONNECTIVITY_IPV6_LOCALNETWORK | NLM_CONNECTIVITY_IPV6_INTERNET;
    return (connectivity & kTraffic) != 0;
}

void WatchNetwork(bool on, void (*onBack)()) {
    if (!on) {
        if (!point) return;
        point->Unadvise(cookie);
        point->Release();
        point = nullptr;
        return;
    }
    if (point) return;
    // Any step Windows can't take leaves the timed tries to do the work.
    INetworkListManager* manager = nullptr;
    IConnectionPointContainer* container = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_NetworkListManager, nullptr, CLSCTX_ALL, IID_INetworkListManager,
                                   reinterpret_cast<void**>(&manager))) &&
        SUCCEEDED(manager->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container))) &&
        SUCCEEDED(container->FindConnectionPoint(IID_INetworkListManagerEvents, &point))) {
        auto* sink = new ConnectivitySink(onBack);
        if (FAILED(point->Advise(sink, &cookie))) {
            point->Release();
            point = nullptr;
        }
        sink->Release();  // the connection point holds it while advised
    }
    if (container) container->Release();
    if (manager) manager->Release();
}
