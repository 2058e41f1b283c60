// A stand-in text renderer for toolkit tests: each character a 2 x 3 block, 3 pixels apart.
#pragma once

#include "toolkit/Text.h"

namespace hopla::testing {

// Changes a few pixels per character, only inside the clip: enough to see where text went.
class BlockText final : public TextRenderer {
  public:
    void draw(Image& target, const Rect& clip, int x, int y, std::string_view text, const Font&,
              Color color) const override {
        for (std::size_t i = 0; i < text.size(); ++i)
            for (int py = y; py < y + 3; ++py)
                for (int px = x + 3 * static_cast<int>(i); px < x + 3 * static_cast<int>(i) + 2;
                     ++px)
                    if (clip.contains(px, py))
                        target.at(px, py) = static_cast<std::uint32_t>(color);
    }
    int lineHeight(const Font&) const override { return 4; }
    int width(std::string_view text, const Font&) const override {
        return 3 * static_cast<int>(text.size());
    }
};

}  // namespace hopla::testing
