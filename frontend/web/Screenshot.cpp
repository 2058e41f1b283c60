// Screenshots in the browser: not kept. A page cannot put files into the player's pictures
// folder, and the browser build has no PNG encoder; the browser's own screenshot serves.
#include "frontend/Screenshot.h"

namespace hopla {

SavedScreenshot SaveScreenshot(const Image&, const std::string&, const LocalTime&) {
    SavedScreenshot saved;
    saved.error = "screenshots are not kept in the browser: use the browser's own";
    return saved;
}

}  // namespace hopla
