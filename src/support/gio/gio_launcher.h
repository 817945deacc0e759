// The desktop's applications started through GIO, which reads the freedesktop.org desktop
// entries and default-application lists (mimeapps.list) and tells at once whether an
// application was found and started.
#pragma once

#include <string>

#include "support/open_url.h"
#include "support/result.h"

namespace koyomi {

// Starts the default application for `uri` on it: the one for its scheme, else (file: URIs)
// the one for the file's content type. Fails when there is none or it cannot be started.
Status LaunchDefaultForUri(const std::string& uri);

// Starts the default application for `content_type` (a MIME type such as "text/html") on
// `uri`. Fails when there is none or it cannot be started. For a URI that is not a local file
// only applications that take URIs count, so no application is started without the address.
Status LaunchDefaultForType(const std::string& content_type, const std::string& uri);

class GioLauncher final : public DesktopLauncher {
  public:
    Status OpenWithUriHandler(const std::string& uri) override;
    Status OpenWithHtmlHandler(const std::string& uri) override;
};

}  // namespace koyomi
