// A text label painted on its host's surface (Label1, Label2 on Display).
#pragma once

#include <string>

#include "toolkit/Color.h"
#include "toolkit/Rect.h"
#include "toolkit/Text.h"

namespace hopla {

class Bitmap;
class LabelHost;

// Setting its caption, position, width, visibility, transparency or colour, even to the value
// it already has, marks the label's old and new rectangles on the host; the host repaints them
// after the running handler. Drawing on the host paints over a label like over anything else,
// so a handler that sets a label again brings it back over a stage drawn since.
class Label {
  public:
    // Joins the host at once; the host must outlive the label.
    Label(LabelHost& host, int width, int height);
    Label(const Label&) = delete;
    Label& operator=(const Label&) = delete;

    const std::string& caption() const { return caption_; }
    int left() const { return left_; }
    int top() const { return top_; }
    int width() const { return width_; }
    int height() const { return height_; }
    bool visible() const { return visible_; }
    bool transparent() const { return transparent_; }
    Color foreColor() const { return foreColor_; }
    Color backColor() const { return backColor_; }
    const Font& font() const { return font_; }
    Rect rect() const { return Rect::Sized(left_, top_, width_, height_); }

    void setCaption(std::string caption);
    void setLeft(int left);
    void setTop(int top);
    void setWidth(int width);
    void setVisible(bool visible);
    void setTransparent(bool transparent);
    void setForeColor(Color c);
    void setBackColor(Color c);
    void setFont(const Font& font);

    // Paints the label onto the host's pixels (opaque: back colour box, then text with their
    // text renderer; transparent: text only), clipped to `clip`. Called by the host while it
    // repaints.
    void paint(Bitmap& onto, const Rect& clip) const;

    // Every property as a value, for a game saved and gone back to (Form1's save and restore).
    // Restoring marks nothing: the host's pixels and pending repaints are restored with it.
    struct State {
        std::string caption;
        int left, top, width, height;
        bool visible, transparent;
        Color foreColor, backColor;
        Font font;
    };
    State save() const;
    void restore(const State& state);

  private:
    template <typename Change>
    void change(Change&& apply);

    LabelHost& host_;
    std::string caption_;
    int left_ = 0;
    int top_ = 0;
    int width_;
    int height_;
    bool visible_ = false;
    bool transparent_ = false;
    Color foreColor_ = kWhite;
    Color backColor_ = kBlack;
    Font font_;
};

}  // namespace hopla
