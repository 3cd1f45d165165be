// Checks that another renderer's picture of the recorded frame is ours: exact,
// except where the draw list says the two may honestly differ.
#pragma once
#include <string>

#include "replay.h"

namespace bench {

struct Leeway {
  // Rounding down allowed per additive draw covering a pixel: 0 for exact
  // arithmetic; SDL divides by 255 rounding down where we round to nearest,
  // once for the colour mod and once more for an alpha mod below 255.
  int per_draw = 0;
  int per_faded_draw = 0;
  // Share of the pixels under turned or scaled draws that may differ (their
  // sampling positions are the other renderer's own).
  double turned_share = 0;
};

struct CheckResult {
  bool ok = false;
  long differing = 0;          // pixels not equal at all
  long outside_bad = 0;        // beyond the leeway outside turned or scaled draws
  long turned_pixels = 0;      // pixels under turned or scaled draws
  long turned_differing = 0;   // of those, beyond the rounding leeway
  std::string summary() const;
};

CheckResult check_picture(const Picture& ours, const Picture& other, const DrawList& calls, const Leeway& leeway);

}  // namespace bench
