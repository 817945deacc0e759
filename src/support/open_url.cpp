#include "support/open_url.h"

namespace koyomi {

Status OpenUrl(DesktopLauncher& launcher, const std::string& url) {
    const Status own = launcher.OpenWithUriHandler(url);
    if (own) {
        return own;
    }
    const Status html = launcher.OpenWithHtmlHandler(url);
    if (html) {
        return html;
    }
    return Fail(own.Reason() + "; " + html.Reason());
}

}  // namespace koyomi
