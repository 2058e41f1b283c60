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

    const std::string& caption() const { return state_.caption; }
    int left() const { return state_.left; }
    int top() const { return state_.top; }
    int width() const { return state_.width; }
    int height() const { return state_.height; }
    bool visible() const { return state_.visible; }
    bool transparent() const { return state_.transparent; }
    Color foreColor() const { return state_.foreColor; }
    Color backColor() const { return state_.backColor; }
    const Font& font() const { return state_.font; }
    Rect rect() const { return Rect::Sized(state_.left, state_.top, state_.width, state_.height); }

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
        int left = 0;
        int top = 0;
        int width = 0;
        int height = 0;
        bool visible = false;
        bool transparent = false;
        Color foreColor = kWhite;
        Color backColor = kBlack;
        Font font;
    };
    State save() const { return state_; }
    void restore(const State& state) { state_ = state; }

  private:
    template <typename Change>
    void change(Change&& apply);

    LabelHost& host_;
    State state_;
};

}  // namespace hopla
