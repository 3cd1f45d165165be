// Frame pacing: 60 frames a second, either by waiting for the display's
// refresh or, where presenting does not wait for it, by the millisecond clock.
#include <cstdint>

#include "platform/app.h"
#include "shell/game.h"

int pacing_mode = PACING_VSYNC;
uint64_t frames_presented = 0;
void (*frame_presented_hook)() = nullptr;

namespace {
constexpr int FRAME_MS = 1000 / 60;                 // 16
constexpr int REMAINDER_PER_FRAME = 1000 - FRAME_MS * 60;   // 40: sixty frames make exactly one second
constexpr uint32_t MEASURE_MS = 1000;
constexpr int VSYNC_HITS_NEEDED = 3;

uint32_t due_ms = 0;
int remainder_acc = 0;
}  // namespace

int choose_pacing() {
  // A present that waits one refresh period, three times in a row, means the
  // display really synchronises; otherwise the clock paces.
  pacing_mode = PACING_TIMER;
  const uint32_t start = app::millisecs();
  int hits = 0;
  while (app::millisecs() - start < MEASURE_MS) {
    const uint32_t before = app::millisecs();
    app::present(true);
    const uint32_t took = app::millisecs() - before;
    if (took >= uint32_t(FRAME_MS - 1) && took <= uint32_t(FRAME_MS + 1)) {
      hits += 1;
    } else {
      hits = 0;
    }
    if (hits >= VSYNC_HITS_NEEDED) {
      pacing_mode = PACING_VSYNC;
      break;
    }
  }
  due_ms = app::millisecs();
  remainder_acc = 0;
  return 0;
}

int present_frame() {
  if (pacing_mode == PACING_VSYNC) {
    app::present(true);
  } else {
    due_ms += FRAME_MS;
    remainder_acc += REMAINDER_PER_FRAME;
    if (remainder_acc >= 60) {
      remainder_acc -= 60;
      due_ms += 1;
    }
    const uint32_t now = app::millisecs();
    const int32_t wait = int32_t(due_ms - now);
    if (wait > 0) {
      app::delay(wait);
    } else {
      due_ms = now;  // a late frame is not made up by shorter ones later
    }
    app::present(false);
  }
  frames_presented += 1;
  if (frame_presented_hook) frame_presented_hook();
  return 0;
}
