// Labels on a picture's surface: repainting from the background after a change, and being
// painted over by drawing.
#include <gtest/gtest.h>

#include "support/BlockText.h"
#include "toolkit/Label.h"
#include "toolkit/Picture.h"

namespace hopla {
namespace {

constexpr Color kGlyph = 0xFFFFFF;

using testing::BlockText;

struct Surface {
    BlockText text;
    Picture display{40, 20, kBlack};
    Label label{display, 10, 5};
    Surface() {
        display.setTextRenderer(&text);
        display.setBackColor(0x000080);
    }
};

TEST(Label, HiddenLabelsPaintNothing) {
    Surface s;
    s.label.setCaption("ab");
    s.display.repaintLabels();
    EXPECT_EQ(s.display.point(0, 0), 0x000080);
}

TEST(Label, ShownAfterTheHandlerAsAnOpaqueBoxWithText) {
    Surface s;
    s.label.setLeft(4);
    s.label.setTop(2);
    s.label.setCaption("a");
    s.label.setVisible(true);
    EXPECT_EQ(s.display.point(4, 2), 0x000080);  // nothing until the handler returns
    s.display.repaintLabels();
    EXPECT_EQ(s.display.point(4, 2), kGlyph);
    EXPECT_EQ(s.display.point(13, 6), kBlack);    // the box's far corner
    EXPECT_EQ(s.display.point(14, 6), 0x000080);  // just outside
}

TEST(Label, CaptionChangeRepaintsFromTheBackgroundPicture) {
    Surface s;
    s.label.setVisible(true);
    s.label.setTransparent(true);
    s.label.setCaption("abc");
    s.display.repaintLabels();
    EXPECT_EQ(s.display.point(6, 0), kGlyph);  // third letter

    auto scene = std::make_shared<Image>(40, 20, 0x00AA00);
    s.display.setBackgroundPicture(scene);
    EXPECT_EQ(s.display.point(6, 0), kGlyph);  // labels come back with the background
    s.label.setCaption("a");
    s.display.repaintLabels();
    EXPECT_EQ(s.display.point(0, 0), kGlyph);
    EXPECT_EQ(s.display.point(6, 0), 0x00AA00);  // the old third letter gave way to the scene
}

TEST(Label, MovingRepaintsTheOldPlace) {
    Surface s;
    s.label.setVisible(true);
    s.display.repaintLabels();
    EXPECT_EQ(s.display.point(0, 0), kBlack);
    s.label.setLeft(20);
    s.display.repaintLabels();
    EXPECT_EQ(s.display.point(0, 0), 0x000080);
    EXPECT_EQ(s.display.point(20, 0), kBlack);
}

TEST(Label, DrawingOnThePicturePaintsOverALabelUntilItChangesAgain) {
    Surface s;
    s.label.setVisible(true);
    s.label.setCaption("a");
    s.display.repaintLabels();
    Picture stage(40, 20, 0x804000);
    Picture::Copy(s.display, 0, 0, 40, 20, stage, 0, 0);
    s.display.repaintLabels();  // nothing marked: the copy stands
    EXPECT_EQ(s.display.point(0, 0), 0x804000);
    s.label.setCaption("b");
    s.display.repaintLabels();
    EXPECT_EQ(s.display.point(0, 0), kGlyph);
    EXPECT_EQ(s.display.point(15, 0), 0x804000);  // only the label's rectangle was restored
}

TEST(Label, SettingTheSameCaptionAgainBringsTheLabelBackOverADrawing) {
    Surface s;
    s.label.setVisible(true);
    s.label.setCaption("a");
    s.display.repaintLabels();
    s.display.fillBox(0, 0, 39, 19, 0x804000);  // a stage drawn over the label
    s.label.setCaption("a");                    // the next introduction sets it again
    s.label.setVisible(true);
    s.display.repaintLabels();
    EXPECT_EQ(s.display.point(0, 0), kGlyph);
    EXPECT_EQ(s.display.point(9, 4), kBlack);
}

TEST(Label, RepaintIsClippedToTheChangedRectangle) {
    Surface s;
    Label other(s.display, 10, 5);
    other.setLeft(5);  // overlaps s.label's box at x 5..9
    other.setVisible(true);
    other.setBackColor(0x0000FF);
    s.display.repaintLabels();
    s.display.fillBox(0, 0, 39, 19, 0x333333);
    s.label.setVisible(true);  // marks only x 0..9
    s.display.repaintLabels();
    EXPECT_EQ(s.display.point(4, 0), kBlack);     // s.label's box
    EXPECT_EQ(s.display.point(9, 0), 0x0000FF);   // the later label lies on top where they meet
    EXPECT_EQ(s.display.point(12, 0), 0x333333);  // outside the marked rectangle: untouched
}

}  // namespace
}  // namespace hopla
