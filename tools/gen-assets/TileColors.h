// The colours of the tile sheet. None is pure white, and pure black is kept for the holes
// (spring corners, sign backgrounds): every other colour is solid to the ball.
#pragma once

#include "tools/gen-assets/IndexedCanvas.h"

namespace hopla::gen::tile {

inline constexpr Rgb8 kHole{0, 0, 0};

// Riveted frames of the wall and the breakable block.
inline constexpr Rgb8 kFrameLight{116, 96, 88};
inline constexpr Rgb8 kFrame{70, 56, 52};
inline constexpr Rgb8 kFrameDark{36, 28, 26};
inline constexpr Rgb8 kRivetLight{222, 212, 204};
inline constexpr Rgb8 kRivet{150, 138, 130};

// Red-orange glass of the wall.
inline constexpr Rgb8 kGlassDeep{176, 42, 18};
inline constexpr Rgb8 kGlass{226, 82, 32};
inline constexpr Rgb8 kGlassLight{248, 132, 70};
inline constexpr Rgb8 kGlassSheen{255, 210, 172};

// Grey-brown stone of the breakable block.
inline constexpr Rgb8 kStoneLight{186, 166, 142};
inline constexpr Rgb8 kStone{150, 128, 106};
inline constexpr Rgb8 kStoneDark{112, 94, 78};
inline constexpr Rgb8 kCrack{78, 64, 54};

// Blue spring.
inline constexpr Rgb8 kSpringLight{130, 178, 255};
inline constexpr Rgb8 kSpring{46, 102, 226};
inline constexpr Rgb8 kSpringDark{18, 46, 138};
inline constexpr Rgb8 kCoil{196, 222, 255};

// Orange launcher and the Start sign.
inline constexpr Rgb8 kLauncherFrame{10, 0, 10};
inline constexpr Rgb8 kOrangeLight{255, 204, 112};
inline constexpr Rgb8 kOrange{246, 148, 36};
inline constexpr Rgb8 kOrangeDark{198, 98, 18};
inline constexpr Rgb8 kOrangeShadow{128, 54, 8};

// Green End sign.
inline constexpr Rgb8 kGreenLight{150, 250, 140};
inline constexpr Rgb8 kGreen{48, 204, 72};
inline constexpr Rgb8 kGreenShadow{14, 96, 30};

}  // namespace hopla::gen::tile
