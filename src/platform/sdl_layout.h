// Where the logical picture sits in a window of any size, and the mapping of
// pointer positions between the two. Pure arithmetic, no SDL: the display
// draws with it and the event pump maps the mouse with it, so both agree.
//
// The picture keeps its aspect ratio, is centred, and leaves black bars on the
// two long sides. Window -> logical truncates and clamps into the picture, so
// a pointer over a bar reads as the nearest edge pixel. Logical -> window picks
// the middle of that logical pixel's span of window pixels, which maps back to
// the same logical pixel whenever the picture is at least logical size.
#pragma once

namespace plat {

struct PictureRect {
  int x = 0, y = 0, w = 0, h = 0;
  bool operator==(const PictureRect&) const = default;
};

struct Point {
  int x = 0, y = 0;
  bool operator==(const Point&) const = default;
};

// The largest rectangle of the logical aspect ratio that fits the window,
// centred (the odd pixel of a bar goes to the right or bottom).
PictureRect fit_picture(int window_w, int window_h, int logical_w, int logical_h);

Point window_to_logical(const PictureRect& r, int logical_w, int logical_h, int wx, int wy);
Point logical_to_window(const PictureRect& r, int logical_w, int logical_h, int lx, int ly);

// How the picture is scaled up sharply: by an integer factor with nearest
// sampling (1 = no pre-scale), then, unless that already gives the rectangle
// exactly, a smooth fit of the pre-scaled picture into the rectangle.
struct ScalePlan {
  int prescale = 1;
  bool smooth_fit = true;
};
ScalePlan plan_scale(const PictureRect& r, int logical_w, int logical_h);

}  // namespace plat
