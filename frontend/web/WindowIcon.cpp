// The window icon in the browser: none, the page's own icon (favicon.png beside it) stands for
// it, and the browser build has no PNG decoder.
#include "frontend/Icon.h"

namespace hopla {

std::optional<IconPixels> WindowIcon() {
    return std::nullopt;
}

}  // namespace hopla
