// Opening a web address with the desktop: first with the application the desktop opens such
// an address with, failing that with its application for HTML pages. The desktop sits behind
// DesktopLauncher so that the order can be tested without one.
#pragma once

#include <string>

#include "support/result.h"

namespace koyomi {

class DesktopLauncher {
  public:
    virtual ~DesktopLauncher() = default;
    // Starts the desktop's default application for `uri` (by its scheme, or for a file: URI by
    // the file's type) on it. Fails when there is none or it cannot be started.
    virtual Status OpenWithUriHandler(const std::string& uri) = 0;
    // Starts the desktop's default application for HTML pages on `uri`. Fails likewise.
    virtual Status OpenWithHtmlHandler(const std::string& uri) = 0;
};

// Opens `url` with its own handler, else with the HTML handler. The reason of a failure names
// both attempts.
Status OpenUrl(DesktopLauncher& launcher, const std::string& url);

}  // namespace koyomi
