// Drawing the menu's panel and the pause sign with the game's text renderer.
#include "shell/Overlay.h"

#include <algorithm>
#include <string>

namespace hopla {
namespace {

constexpr Color kPanel = 0x181C28, kBorder = 0x8090B0, kTitle = 0xFFFFFF, kText = 0xC8C8C8,
                kRow = 0xD8D8D8, kSelectedBar = 0x34508C, kSelectedText = 0xFFFFFF,
                kHint = 0x8890A0;
constexpr int kPanelWidth = 460, kPad = 18, kRowGap = 10;

Font TitleFont() {
    Font f;
    f.points = 18;
    f.bold = true;
    return f;
}
Font BodyFont() {
    Font f;
    f.points = 12;
    return f;
}

void Fill(Image& image, const Rect& area, Color color) {
    const Rect r = area.intersect({0, 0, image.width, image.height});
    for (int y = r.top; y < r.bottom; ++y)
        std::fill_n(image.pixels.begin() + static_cast<std::ptrdiff_t>(y) * image.width + r.left,
                    r.width(), static_cast<std::uint32_t>(color));
}

// A filled panel with a one-pixel border.
void Panel(Image& image, const Rect& area) {
    Fill(image, area, kBorder);
    Fill(image, {area.left + 1, area.top + 1, area.right - 1, area.bottom - 1}, kPanel);
}

// The picture at `share` eighths of its brightness.
void Dim(const Image& picture, Image& out, int share) {
    out.width = picture.width;
    out.height = picture.height;
    out.pixels.resize(picture.pixels.size());
    std::transform(picture.pixels.begin(), picture.pixels.end(), out.pixels.begin(),
                   [share](std::uint32_t p) {
                       const std::uint32_t rb = ((p & 0xFF00FFu) * share >> 3) & 0xFF00FFu;
                       const std::uint32_t g = ((p & 0x00FF00u) * share >> 3) & 0x00FF00u;
                       return rb | g;
                   });
}

}  // namespace

const Image& Overlay::menu(const Image& picture, const MenuView& view) {
    Dim(picture, image_, 3);
    const Font title = TitleFont(), body = BodyFont();
    const int titleH = text_.lineHeight(title), lineH = text_.lineHeight(body);
    const int rowH = lineH + kRowGap;
    const int height = kPad + titleH + kPad + static_cast<int>(view.lines.size()) * lineH +
                       (view.lines.empty() ? 0 : kPad) + static_cast<int>(view.rows.size()) * rowH +
                       kPad + lineH + kPad;
    const Rect panel = Rect::Sized((image_.width - kPanelWidth) / 2, (image_.height - height) / 2,
                                   kPanelWidth, height);
    const Rect clip{0, 0, image_.width, image_.height};
    Panel(image_, panel);
    int y = panel.top + kPad;
    text_.draw(image_, clip, panel.left + kPad, y, view.title, title, kTitle);
    y += titleH + kPad;
    for (const std::string& line : view.lines) {
        text_.draw(image_, clip, panel.left + kPad, y, line, body, kText);
        y += lineH;
    }
    if (!view.lines.empty()) y += kPad;
    rows_.clear();
    for (std::size_t i = 0; i < view.rows.size(); ++i) {
        const Rect row = Rect::Sized(panel.left + 8, y, kPanelWidth - 16, rowH);
        const bool selected = static_cast<int>(i) == view.selected;
        if (selected) Fill(image_, row, kSelectedBar);
        text_.draw(image_, clip, panel.left + kPad, y + kRowGap / 2, view.rows[i], body,
                   selected ? kSelectedText : kRow);
        rows_.push_back(row);
        y += rowH;
    }
    y += kPad;
    text_.draw(image_, clip, panel.left + kPad, y, view.hint, body, kHint);
    return image_;
}

const Image& Overlay::paused(const Image& picture, const std::string& hint) {
    Dim(picture, image_, 5);
    rows_.clear();
    const Font title = TitleFont(), body = BodyFont();
    const int titleH = text_.lineHeight(title), lineH = text_.lineHeight(body);
    // Wide enough for the longest hint (a controller's, the touch buttons').
    const int width = std::max(220, kPad + text_.width(hint, body) + kPad);
    const int height = kPad + titleH + 6 + lineH + kPad;
    const Rect box =
        Rect::Sized((image_.width - width) / 2, (image_.height - height) / 2, width, height);
    const Rect clip{0, 0, image_.width, image_.height};
    Panel(image_, box);
    text_.draw(image_, clip, box.left + kPad, box.top + kPad, "Paused", title, kTitle);
    text_.draw(image_, clip, box.left + kPad, box.top + kPad + titleH + 6, hint, body, kHint);
    return image_;
}

Rect Overlay::race(Image& onto, const std::vector<std::string>& lines) const {
    if (lines.empty()) return {};
    const Font body = BodyFont();
    const int lineH = text_.lineHeight(body);
    int width = 0;
    for (const std::string& line : lines) width = std::max(width, text_.width(line, body));
    const Rect panel = Rect::Sized(4, 4, width + 12, static_cast<int>(lines.size()) * lineH + 8)
                           .intersect({0, 0, onto.width, onto.height});
    // Half as bright under the panel: the playfield still shows through.
    for (int y = panel.top; y < panel.bottom; ++y)
        for (int x = panel.left; x < panel.right; ++x) {
            std::uint32_t& p = onto.at(x, y);
            p = (p >> 1) & 0x7F7F7Fu;
        }
    int y = panel.top + 4;
    for (const std::string& line : lines) {
        text_.draw(onto, panel, panel.left + 6, y, line, body, kTitle);
        y += lineH;
    }
    return panel;
}

Rect Overlay::ghost(Image& onto, int x, int y) const {
    constexpr int kRadius = 6;
    const Rect area = Rect::Sized(x - kRadius, y - kRadius, 2 * kRadius + 1, 2 * kRadius + 1)
                          .intersect({0, 0, onto.width, onto.height});
    // Half white over what is there, inside the circle.
    for (int py = area.top; py < area.bottom; ++py)
        for (int px = area.left; px < area.right; ++px) {
            const int dx = px - x, dy = py - y;
            if (dx * dx + dy * dy > kRadius * kRadius) continue;
            std::uint32_t& p = onto.at(px, py);
            p = ((p >> 1) & 0x7F7F7Fu) + 0x606870u;
        }
    return area;
}

std::string Drawable(std::string_view line) {
    std::string out;
    for (const char c : line) out += c == '\\' ? std::string("\xEF\xBC\xBC") : std::string(1, c);
    return out;
}

const Image& Overlay::note(const Image& picture, const std::string& line) {
    if (&picture != &image_) image_ = picture;
    const Font body = BodyFont();
    const int height = text_.lineHeight(body) + 12;
    const Rect strip{0, image_.height - height, image_.width, image_.height};
    Fill(image_, strip, kPanel);
    Fill(image_, {strip.left, strip.top, strip.right, strip.top + 1}, kBorder);
    text_.draw(image_, strip, kPad, strip.top + 6, Drawable(line), body, kText);
    return image_;
}

std::optional<int> Overlay::rowAt(int x, int y) const {
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].contains(x, y)) return static_cast<int>(i);
    return std::nullopt;
}

}  // namespace hopla
