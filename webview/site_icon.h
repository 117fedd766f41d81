// The site's icon as the view has it (ICoreWebView2_15), for a site app made
// from the site.
#pragma once

// Asks the view for the site's icon as PNG; g_app.siteIconPng holds it (empty
// when there is none, or the view can't give it) once kNoticeSiteIcon comes.
// An icon that comes when no app waits for it (g_app.newAppName) is not kept.
void FetchSiteIcon();
