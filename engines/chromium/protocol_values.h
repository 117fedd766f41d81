// What the DevTools protocol's words mean in WebView2's terms.
#pragma once

#include <string>

#include "webview/webview2.h"

// A navigation's net error ("net::ERR_NAME_NOT_RESOLVED") as the runtime
// reports it; unknown errors are COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN.
COREWEBVIEW2_WEB_ERROR_STATUS WebErrorStatusFor(const std::string& netError);
// A request's resource type ("Image") as a web resource context.
COREWEBVIEW2_WEB_RESOURCE_CONTEXT ResourceContextFor(const std::string& resourceType);
// The resource type that a context names in a Fetch pattern; "" for ALL.
std::string ResourceTypeFor(COREWEBVIEW2_WEB_RESOURCE_CONTEXT context);
