// What a label needs of the surface it lives on: to join it, and to have areas repainted.
#pragma once

#include "toolkit/Rect.h"

namespace hopla {

class Label;

// The surface (Picture) restores marked rectangles later and paints its labels into them
// with Label::paint; a label only ever marks.
class LabelHost {
  public:
    // Called once by each label as it is made; the label outlives every later repaint.
    virtual void attachLabel(Label& label) = 0;
    // Asks for r, clipped to the surface, to be restored and its labels repainted.
    virtual void markDirty(const Rect& r) = 0;

  protected:
    LabelHost() = default;
    LabelHost(const LabelHost&) = default;
    LabelHost& operator=(const LabelHost&) = default;
    ~LabelHost() = default;  // never destroyed through this interface
};

}  // namespace hopla
