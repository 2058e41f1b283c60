// Whole-picture copies that move only the rows which may differ, snapshots handed out again
// while nothing changed, saved states gone back to, and the changed area a screen updates:
// every way of writing a picture must be seen, or stale pixels remain.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/BlockText.h"
#include "toolkit/Label.h"
#include "toolkit/Picture.h"

namespace hopla {
namespace {

constexpr int kW = 40, kH = 70;  // saved rows come in chunks of 32: three of them

using testing::BlockText;

// A picture with its own label, so label repaints are one more way of writing it.
struct Canvas {
    BlockText text;
    Picture picture{kW, kH, kBlack};
    Label label{picture, 12, 4};
    explicit Canvas(Color ink) {
        picture.setTextRenderer(&text);
        picture.fillBox(0, 0, kW, kH, ink);
    }
};

using Write = std::function<void(Picture&, Label&, Picture& other)>;

struct WriteCase {
    const char* what;
    Write write;
};

const WriteCase kWrites[] = {
    {"fill box", [](Picture& p, Label&, Picture&) { p.fillBox(3, 20, 5, 22, 0x0000FF); }},
    {"fill rect",
     [](Picture& p, Label&, Picture&) {
         p.fillRect({1, 7, 4, 8}, 0x00FF00);
     }},
    {"pen 3 line",
     [](Picture& p, Label&, Picture&) {
         p.setPenWidth(3);
         p.line(2, 25, 9, 28.5, 0xFFFFFF);
     }},
    {"line clipped at the bottom",
     [](Picture& p, Label&, Picture&) { p.line(10, kH - 2, 12, kH + 10, 0xFF0000); }},
    {"print",
     [](Picture& p, Label&, Picture&) {
         p.setCurrentY(12);
         p.setForeColor(0xFFFF00);
         p.print("ab");
     }},
    {"clear to the back colour", [](Picture& p, Label&, Picture&) { p.setBackColor(0x808080); }},
    {"background picture",
     [](Picture& p, Label&, Picture&) {
         p.setBackgroundPicture(std::make_shared<Image>(kW, 10, 0x00FFFF));
     }},
    {"label caption repainted",
     [](Picture& p, Label& l, Picture&) {
         l.setTop(16);
         l.setVisible(true);
         l.setCaption("xy");
         p.repaintLabels();
     }},
    {"part of another picture",
     [](Picture& p, Label&, Picture& other) { Picture::Copy(p, 5, 9, 6, 4, other, 20, 3); }},
    {"overlapping copy within itself",
     [](Picture& p, Label&, Picture&) { Picture::Copy(p, 0, 1, kW, 13, p, 0, 0); }},
    {"row written directly", [](Picture& p, Label&, Picture&) { p.row(27)[3] = 0x123456; }},
    {"last row written directly",
     [](Picture& p, Label&, Picture&) { p.row(kH - 1)[kW - 1] = 0x654321; }},
    {"image loaded", [](Picture& p, Label&, Picture&) { p.loadImage(Image(kW, kH, 0x445566)); }},
    {"resized away and back",
     [](Picture& p, Label&, Picture&) {
         p.resize(7, 5);
         p.resize(kW, kH);
     }},
    {"whole copy from a third picture",
     [](Picture& p, Label&, Picture& other) { Picture::Copy(p, 0, 0, kW, kH, other, 0, 0); }},
};

TEST(PictureWholeCopy, EveryWriteToSourceOrDestinationIsCarriedOver) {
    for (const WriteCase& c : kWrites) {
        for (const bool toSource : {true, false}) {
            SCOPED_TRACE(std::string(c.what) + (toSource ? " on the source" : " on the copy"));
            Canvas src(0x102030), dst(0x405060), third(0x708090);
            third.picture.fillBox(0, 0, kW / 2, kH / 2, 0xA0B0C0);
            Picture::Copy(dst.picture, 0, 0, kW, kH, src.picture, 0, 0);
            ASSERT_EQ(dst.picture.image(), src.picture.image());
            Canvas& written = toSource ? src : dst;
            c.write(written.picture, written.label, third.picture);
            Picture::Copy(dst.picture, 0, 0, kW, kH, src.picture, 0, 0);
            EXPECT_EQ(dst.picture.image(), src.picture.image());
        }
    }
}

// A frame's path: back buffer to composition to the visible picture, each written between
// copies, saved and restored (alone, or all three together) in random order; after every whole
// copy the two pictures are equal, and a restored picture is what it was when saved.
TEST(PictureWholeCopy, RandomWritesCopiesSavesAndRestoresAmongThreePictures) {
    Canvas a(0x010101), b(0x020202), c(0x030303);
    Canvas* canvases[] = {&a, &b, &c};
    struct Saved {
        Picture::State state;
        Image image;
    };
    std::vector<Saved> saved[3];
    std::vector<std::array<Saved, 3>> together;
    std::mt19937 random(5);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    for (int step = 0; step < 3000; ++step) {
        const int i = pick(3);
        Canvas& p = *canvases[i];
        Canvas& q = *canvases[pick(3)];
        const int what = pick(12);
        if (what < 4 && &p != &q) {
            Picture::Copy(p.picture, 0, 0, kW, kH, q.picture, 0, 0);
            ASSERT_EQ(p.picture.image(), q.picture.image()) << "step " << step;
        } else if (what == 4) {
            saved[i].push_back({p.picture.save(), p.picture.image()});
        } else if (what == 6 && step % 3 == 0) {
            // All three saved at one moment, later all three gone back there together, their
            // rows' stamps with them.
            together.push_back({});
            for (int k = 0; k < 3; ++k)
                together.back()[k] = {canvases[k]->picture.save(), canvases[k]->picture.image()};
        } else if (what == 6 && !together.empty()) {
            const auto& group =
                together[static_cast<std::size_t>(pick(static_cast<int>(together.size())))];
            for (int k = 0; k < 3; ++k)
                canvases[k]->picture.restore(group[k].state, Picture::Stamps::Saved);
            for (int k = 0; k < 3; ++k)
                ASSERT_EQ(canvases[k]->picture.image(), group[k].image) << "step " << step;
        } else if (what == 5 && !saved[i].empty()) {
            const Saved& s =
                saved[i][static_cast<std::size_t>(pick(static_cast<int>(saved[i].size())))];
            p.picture.restore(s.state);
            ASSERT_EQ(p.picture.image(), s.image) << "step " << step;
        } else {
            const WriteCase& w = kWrites[pick(static_cast<int>(std::size(kWrites)))];
            w.write(p.picture, p.label, q.picture);
            // Varied colours, so that rewriting the same pixels still changes them.
            p.picture.fillBox(pick(kW), pick(kH), pick(kW), pick(kH),
                              static_cast<Color>(random() & 0xFFFFFF));
        }
    }
    EXPECT_THROW(a.picture.restore(b.picture.save()), std::invalid_argument);
}

// A picture whose pixel (x, y) holds a value naming its position.
void Number(Picture& p) {
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x) p.row(y)[x] = 0x10000 + y * 256 + x;
}

TEST(PictureCopy, FullPictureCopyIsExact) {
    Picture a(800, 600), b(800, 600);
    Number(a);
    Picture::Copy(b, 0, 0, 800, 600, a, 0, 0);
    EXPECT_EQ(a.image(), b.image());
}

TEST(PictureWholeCopy, ReportsOnlyTheRowsItChangedToTheScreen) {
    Picture src(kW, kH), dst(kW, kH);
    Picture::Copy(dst, 0, 0, kW, kH, src, 0, 0);
    dst.takeChanged();
    src.fillBox(4, 10, 6, 12, 0x00FF00);
    Picture::Copy(dst, 0, 0, kW, kH, src, 0, 0);
    EXPECT_EQ(dst.takeChanged(), (Rect{0, 10, kW, 13}));
    Picture::Copy(dst, 0, 0, kW, kH, src, 0, 0);  // nothing new on either side
    EXPECT_TRUE(dst.takeChanged().empty());
    // A first copy from another picture knows nothing of it and moves every row.
    Picture other(kW, kH);
    Picture::Copy(dst, 0, 0, kW, kH, other, 0, 0);
    EXPECT_EQ(dst.takeChanged(), dst.bounds());
}

TEST(PictureSnapshot, AfterEveryWriteShowsThePictureAsItIsNow) {
    for (const WriteCase& c : kWrites) {
        SCOPED_TRACE(c.what);
        Canvas canvas(0x102030), other(0x708090);
        const std::shared_ptr<const Image> before = canvas.picture.snapshot();
        const Image kept = *before;
        c.write(canvas.picture, canvas.label, other.picture);
        EXPECT_EQ(*canvas.picture.snapshot(), canvas.picture.image());
        EXPECT_EQ(*before, kept);  // a snapshot taken earlier never changes
    }
}

std::uint64_t Sum(const Image& image) {
    std::uint64_t sum = image.pixels.size();
    for (std::uint32_t v : image.pixels) sum = sum * 31 + v;
    return sum;
}

// Saved before and after each kind of write, then gone back to either: the picture is what it
// was, and its kept digest follows every write and restore.
TEST(PictureSave, EveryWriteIsSavedAndGoneBackOver) {
    for (const WriteCase& c : kWrites) {
        SCOPED_TRACE(c.what);
        Canvas canvas(0x102030), other(0x708090);
        Picture& p = canvas.picture;
        const Picture::State before = p.save();
        const Image imageBefore = p.image();
        EXPECT_EQ(p.pixelDigest(Sum), Sum(imageBefore));
        c.write(p, canvas.label, other.picture);
        EXPECT_EQ(p.pixelDigest(Sum), Sum(p.image()));
        const Picture::State after = p.save();
        const Image imageAfter = p.image();
        p.restore(before);
        EXPECT_EQ(p.image(), imageBefore);
        EXPECT_EQ(p.pixelDigest(Sum), Sum(imageBefore));
        p.restore(after);
        EXPECT_EQ(p.image(), imageAfter);
        p.restore(after);
        EXPECT_EQ(p.image(), imageAfter);
    }
}

// One picture saved and restored as a search does it, by a script: "w<row>" writes a new
// colour into part of a row, "s<slot>" saves, "r<slot>" goes back there and must find what was
// saved. Each case is an order in which the rows shared between saves could be mistaken.
TEST(PictureSave, GoesBackOverRowsSharedBetweenSaves) {
    const struct {
        const char* what;
        const char* script;
    } kScripts[] = {
        {"a row written since the save", "s0 w5 r0 r0"},
        {"rows the later save shares with the first", "s0 w5 s1 w40 r0 r1 r0"},
        {"changed only in a row the later save shared", "s0 w5 s1 r0 w40 r1 w40 r0"},
        {"a row written back to what it was", "s0 w5 s1 r0 s2 r1 r2 r1"},
        {"rows of every chunk", "w0 w31 w32 w69 s0 w33 w64 s1 r0 w0 r1 r0"},
        {"saved again without a write", "s0 w10 s1 s2 r0 r2 w11 r1 s3 r0 r3"},
        {"a chain of saves, back to the first", "s0 w1 s1 w2 s2 w3 s3 w35 s4 r0 r4 r2 r3"},
    };
    for (const auto& c : kScripts) {
        SCOPED_TRACE(c.what);
        Picture p(kW, kH, kBlack);
        std::map<int, std::pair<Picture::State, Image>> saved;
        Color colour = 1;
        std::istringstream in(c.script);
        for (std::string op; in >> op;) {
            const int n = std::stoi(op.substr(1));
            if (op[0] == 'w') {
                p.fillRect({n % 7, n, kW - n % 5, n + 1}, colour++);
            } else if (op[0] == 's') {
                saved[n] = {p.save(), p.image()};
            } else {
                p.restore(saved.at(n).first);
                ASSERT_EQ(p.image(), saved.at(n).second) << op;
            }
        }
    }
}

TEST(PictureSnapshot, TheSameImageWhileNothingWasDrawn) {
    Picture p(kW, kH), source(kW, kH);
    source.fillBox(1, 1, 3, 3, 0x00FF00);
    Picture::Copy(p, 0, 0, kW, kH, source, 0, 0);
    const std::shared_ptr<const Image> first = p.snapshot();
    EXPECT_EQ(p.snapshot(), first);
    Picture::Copy(p, 0, 0, kW, kH, source, 0, 0);  // nothing new on either side: no row moves
    EXPECT_EQ(p.snapshot(), first);
    p.point(2, 2);
    EXPECT_EQ(p.snapshot(), first);
    p.fillBox(5, 5, 5, 5, 0x00FF00);
    EXPECT_NE(p.snapshot(), first);
}

TEST(PictureChanged, ReportsTheBoundingBoxOfWhatWasDrawn) {
    constexpr Color kInk = 0x123456;
    Picture p(100, 100);
    p.takeChanged();
    p.fillBox(10, 20, 12, 22, kInk);
    p.fillBox(50, 5, 50, 5, kInk);
    EXPECT_EQ(p.takeChanged(), (Rect{10, 5, 51, 23}));
    EXPECT_TRUE(p.takeChanged().empty());
    p.line(-50, 50, -40, 50, kInk);  // entirely outside: nothing changed
    EXPECT_TRUE(p.takeChanged().empty());
}

}  // namespace
}  // namespace hopla
