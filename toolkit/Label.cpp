// Label: caption and geometry changes mark the host for repainting; painting onto the host.
#include "toolkit/Label.h"

#include "toolkit/Bitmap.h"
#include "toolkit/LabelHost.h"

namespace hopla {

Label::Label(LabelHost& host, int width, int height) : host_(host), width_(width), height_(height) {
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
    change([&] { caption_ = std::move(caption); });
}
void Label::setLeft(int left) {
    change([&] { left_ = left; });
}
void Label::setTop(int top) {
    change([&] { top_ = top; });
}
void Label::setWidth(int width) {
    change([&] { width_ = width; });
}
void Label::setVisible(bool visible) {
    change([&] { visible_ = visible; });
}
void Label::setTransparent(bool transparent) {
    change([&] { transparent_ = transparent; });
}
void Label::setForeColor(Color c) {
    change([&] { foreColor_ = c; });
}
void Label::setBackColor(Color c) {
    change([&] { backColor_ = c; });
}
void Label::setFont(const Font& font) {
    change([&] { font_ = font; });
}

Label::State Label::save() const {
    return {caption_, left_,        top_,       width_,     height_,
            visible_, transparent_, foreColor_, backColor_, font_};
}

void Label::restore(const State& state) {
    caption_ = state.caption;
    left_ = state.left;
    top_ = state.top;
    width_ = state.width;
    height_ = state.height;
    visible_ = state.visible;
    transparent_ = state.transparent;
    foreColor_ = state.foreColor;
    backColor_ = state.backColor;
    font_ = state.font;
}

void Label::paint(Bitmap& onto, const Rect& clip) const {
    const Rect area = rect().intersect(clip).intersect(onto.bounds());
    if (area.empty()) return;
    if (!transparent_) onto.fillRect(area, backColor_);
    if (const TextRenderer* text = onto.textRenderer(); text && !caption_.empty())
        text->draw(onto.imageToDrawIn(area), area, left_, top_, caption_, font_, foreColor_);
}

}  // namespace hopla
