// Label: caption and geometry changes mark the host for repainting; painting onto the host.
#include "toolkit/Label.h"

#include "toolkit/Bitmap.h"
#include "toolkit/LabelHost.h"

namespace hopla {

Label::Label(LabelHost& host, int width, int height) : host_(host) {
    state_.width = width;
    state_.height = height;
    host_.attachLabel(*this);
}

template <typename Change>
void Label::change(Change&& apply) {
    const Rect before = rect();
    apply();
    host_.markDirty(before);
    if (!(rect() == before)) host_.markDirty(rect());
}

void Label::setCaption(std::string caption) {
    change([&] { state_.caption = std::move(caption); });
}
void Label::setLeft(int left) {
    change([&] { state_.left = left; });
}
void Label::setTop(int top) {
    change([&] { state_.top = top; });
}
void Label::setWidth(int width) {
    change([&] { state_.width = width; });
}
void Label::setVisible(bool visible) {
    change([&] { state_.visible = visible; });
}
void Label::setTransparent(bool transparent) {
    change([&] { state_.transparent = transparent; });
}
void Label::setForeColor(Color c) {
    change([&] { state_.foreColor = c; });
}
void Label::setBackColor(Color c) {
    change([&] { state_.backColor = c; });
}
void Label::setFont(const Font& font) {
    change([&] { state_.font = font; });
}

void Label::paint(Bitmap& onto, const Rect& clip) const {
    const Rect area = rect().intersect(clip).intersect(onto.bounds());
    if (area.empty()) return;
    if (!state_.transparent) onto.fillRect(area, state_.backColor);
    if (const TextRenderer* text = onto.textRenderer(); text && !state_.caption.empty())
        text->draw(onto.imageToDrawIn(area), area, state_.left, state_.top, state_.caption,
                   state_.font, state_.foreColor);
}

}  // namespace hopla
