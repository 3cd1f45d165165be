// The SDL device end to end on SDL's own "dummy" display (asked for by name,
// so no screen is needed): the picture as it lands in the window, events into
// the input and application state, joysticks seen at opening, and failures.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <csignal>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/app.h"
#include "platform/input.h"
#include "platform/sdl_device.h"

namespace {

constexpr int LW = 640, LH = 480;

TEST(SdlVideoDriver, InvisibleDriversCountOnlyWhenAskedFor) {
  const struct { const char* chosen; const char* requested; bool ok; } cases[] = {
      {"x11", nullptr, true},           {"wayland", "x11", true},         {"KMSDRM", nullptr, true},
      {"offscreen", nullptr, false},    {"dummy", nullptr, false},        {"offscreen", "x11", false},
      {"offscreen", "offscreen", true}, {"dummy", "x11,dummy", true},     {"dummy", "DUMMY", true},
      {"dummy", "dummyx", false},       {"dummy", "", false},             {nullptr, "x11", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(plat::video_driver_acceptable(c.chosen, c.requested), c.ok)
        << (c.chosen ? c.chosen : "null") << " / " << (c.requested ? c.requested : "null");
}

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old, had_ = true;
    if (value) setenv(name, value, 1);
    else unsetenv(name);
  }
  ~ScopedEnv() {
    if (had_) setenv(name_.c_str(), old_.c_str(), 1);
    else unsetenv(name_.c_str());
  }
 private:
  std::string name_, old_;
  bool had_ = false;
};

TEST(SdlDeviceFailure, NoDisplayIsOneClearLineAndFalse) {
  struct stat st;
  if (stat("/dev/dri", &st) == 0) GTEST_SKIP() << "a console display may open here";
  // Without a session directory the Wayland library complains aloud; that
  // must not reach the player beside our line.
  ScopedEnv driver("SDL_VIDEODRIVER", nullptr), x("DISPLAY", ":31999"), wl("WAYLAND_DISPLAY", nullptr),
      xdg("XDG_RUNTIME_DIR", nullptr);
  plat::SdlDevice dev;
  plat::use_device(&dev);
  dev.set_title("Gobblestamp");
  testing::internal::CaptureStderr();
  EXPECT_FALSE(dev.open_display(LW, LH));
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(err.rfind("Gobblestamp: cannot open a display", 0), 0u) << err;
  EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
  dev.poll_events();   // harmless without a display
  EXPECT_EQ(dev.joystick_count(), 0);
}

bool has_sound_card() {
  std::FILE* f = std::fopen("/proc/asound/cards", "r");
  if (!f) return false;
  char line[256] = "";
  bool none = !std::fgets(line, sizeof line, f) || std::strstr(line, "no soundcards");
  std::fclose(f);
  return !none;
}

TEST(SdlDeviceFailure, NoAudioDeviceIsOneLineAndTheGameGoesOn) {
  // An unknown driver, and ALSA on a machine without a card (ALSA writes
  // lines of its own then).
  std::vector<const char*> drivers = {"no-such-driver"};
  if (!has_sound_card()) drivers.push_back("alsa");
  for (const char* d : drivers) {
    ScopedEnv audio("SDL_AUDIODRIVER", d);
    plat::SdlDevice dev;
    dev.set_title("Gobblestamp");
    testing::internal::CaptureStderr();
    dev.open_audio();
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(dev.audio_output().is_open()) << d;
    EXPECT_EQ(err.rfind("Gobblestamp: no audio output", 0), 0u) << err;
    EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
    dev.close_audio();
  }
}

// A device on the dummy display, which SDL makes 1024 x 768.
class DummyDevice : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0);   // lets the test attach joysticks first
    plat::use_device(&dev);
    input::reset_all();
    app::reset_state();
    dev.set_title("Gobblestamp");
  }
  void open() {
    ASSERT_TRUE(dev.open_display(LW, LH));
    window = dev.display().window();
    ASSERT_NE(window, nullptr);
  }
  void push(SDL_Event e) { ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError(); }
  void key(SDL_Scancode sc, bool down, Uint16 mod = KMOD_NONE, bool repeat = false) {
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.repeat = repeat;
    e.key.keysym.scancode = sc;
    e.key.keysym.mod = mod;
    push(e);
  }
  void window_event(SDL_WindowEventID id) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = id;
    e.window.windowID = SDL_GetWindowID(window);
    push(e);
  }
  void motion(int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = x;
    e.motion.y = y;
    push(e);
  }
  // Leaves full screen with Alt+Enter and gives the window a size.
  void windowed(int w, int h) {
    key(SDL_SCANCODE_RETURN, true, KMOD_LALT);
    dev.poll_events();
    ASSERT_FALSE(dev.display().fullscreen());
    SDL_SetWindowSize(window, w, h);
    dev.poll_events();
  }
  std::vector<uint32_t> shown(int& w, int& h) {
    SDL_Renderer* r = SDL_GetRenderer(window);
    SDL_GetRendererOutputSize(r, &w, &h);
    std::vector<uint32_t> px(size_t(w) * h);
    EXPECT_EQ(SDL_RenderReadPixels(r, nullptr, SDL_PIXELFORMAT_RGB888, px.data(), w * 4), 0) << SDL_GetError();
    for (uint32_t& p : px) p &= 0xFFFFFF;
    return px;
  }

  ScopedEnv driver{"SDL_VIDEODRIVER", "dummy"};
  plat::SdlDevice dev;
  SDL_Window* window = nullptr;
};

// Logical pixel colours that differ in every pixel: a wrong offset or factor
// shows.
uint32_t pattern(int x, int y) { return uint32_t((x & 0xFF) << 16 | (y & 0xFF) << 8 | (x >> 8) << 4 | (y >> 8)); }

TEST_F(DummyDevice, WholeFactorScreenShowsEveryPixelAsAnExactBlockBetweenBlackBars) {
  open();
  windowed(2000, 1440);   // 3x exactly, bars of 40 at either side
  std::vector<uint32_t> pic(LW * LH);
  for (int y = 0; y < LH; ++y)
    for (int x = 0; x < LW; ++x) pic[y * LW + x] = pattern(x, y);
  dev.present(pic.data(), false);
  int w, h;
  std::vector<uint32_t> px = shown(w, h);
  ASSERT_EQ(w, 2000);
  ASSERT_EQ(h, 1440);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint32_t want = (x < 40 || x >= 1960) ? 0 : pattern((x - 40) / 3, y / 3);
      ASSERT_EQ(px[size_t(y) * w + x], want) << "at " << x << "," << y;
    }
}

// 2.25x: a one-pixel checkerboard stays crisp; each logical pixel's middle
// window pixel is its pure colour (a plain smooth stretch would grey them).
TEST_F(DummyDevice, FractionalScreenKeepsOnePixelDetailSharp) {
  open();
  windowed(1600, 1080);   // picture 1440 x 1080 at x 80
  std::vector<uint32_t> pic(LW * LH);
  for (int y = 0; y < LH; ++y)
    for (int x = 0; x < LW; ++x) pic[y * LW + x] = ((x ^ y) & 1) ? 0xFFFFFF : 0;
  dev.present(pic.data(), false);
  int w, h;
  std::vector<uint32_t> px = shown(w, h);
  ASSERT_EQ(w, 1600);
  const plat::PictureRect r = dev.display().picture_in_window();
  ASSERT_EQ(r, (plat::PictureRect{80, 0, 1440, 1080}));
  for (int y = 0; y < h; ++y) {
    for (int x : {0, 79, 1520, 1599}) ASSERT_EQ(px[size_t(y) * w + x], 0u) << "bar at " << x << "," << y;
  }
  for (int ly = 0; ly < LH; ly += 7)
    for (int lx = 0; lx < LW; ++lx) {
      plat::Point c = plat::logical_to_window(r, LW, LH, lx, ly);
      ASSERT_EQ(px[size_t(c.y) * w + c.x], pic[ly * LW + lx]) << "logical " << lx << "," << ly;
    }
}

TEST_F(DummyDevice, AltEnterSwapsFullScreenAndWindowWithoutPassingEnterOn) {
  open();
  EXPECT_TRUE(dev.display().fullscreen());
  EXPECT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP);
  key(SDL_SCANCODE_RETURN, true, KMOD_RALT);
  key(SDL_SCANCODE_RETURN, true, KMOD_RALT, true);   // auto-repeat does not toggle back
  key(SDL_SCANCODE_RETURN, false, KMOD_RALT);
  dev.poll_events();
  EXPECT_FALSE(dev.display().fullscreen());
  EXPECT_FALSE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN);
  EXPECT_EQ(input::key_hits(input::VK_RETURN), 0);
  key(SDL_SCANCODE_KP_ENTER, true, KMOD_LALT);
  dev.poll_events();
  EXPECT_TRUE(dev.display().fullscreen());
  EXPECT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP);
  key(SDL_SCANCODE_RETURN, true);   // Enter alone is a key
  EXPECT_EQ(input::key_hits(input::VK_RETURN), 1);
}

TEST_F(DummyDevice, KeysAndButtonsReachTheInputStateByVirtualCode) {
  open();
  key(SDL_SCANCODE_LCTRL, true);
  key(SDL_SCANCODE_LCTRL, true, KMOD_NONE, true);   // repeat: held, not a new press
  key(SDL_SCANCODE_RCTRL, true);
  EXPECT_TRUE(input::key_down(input::VK_LCONTROL));
  EXPECT_EQ(input::key_hits(input::VK_LCONTROL), 1);
  EXPECT_EQ(input::key_hits(input::VK_RCONTROL), 1);
  key(SDL_SCANCODE_LCTRL, false);
  EXPECT_FALSE(input::key_down(input::VK_LCONTROL));

  const struct { Uint8 sdl; int game; } buttons[] = {{SDL_BUTTON_LEFT, 1}, {SDL_BUTTON_RIGHT, 2}, {SDL_BUTTON_MIDDLE, 3}};
  for (const auto& b : buttons) {
    SDL_Event e{};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = b.sdl;
    e.button.state = SDL_PRESSED;
    e.button.x = 512;
    e.button.y = 384;
    push(e);
    EXPECT_EQ(input::mouse_hits(b.game), 1) << "SDL button " << int(b.sdl);
    for (int other = 1; other <= 3; ++other) {
      if (other != b.game) {
        EXPECT_EQ(input::mouse_hits(other), 0);
      }
    }
  }
  EXPECT_EQ(input::mouse_x(), 320);   // the press carries its position
  EXPECT_EQ(input::mouse_y(), 240);
}

TEST_F(DummyDevice, PointerMapsToLogicalPixelsAndWarpsAreReadAtOnce) {
  open();
  windowed(1600, 1080);   // 2.25x at x 80
  const struct { int wx, wy, lx, ly; } cases[] = {
      {80, 0, 0, 0}, {82, 2, 0, 0}, {83, 3, 1, 1}, {1519, 1079, 639, 479}, {10, 500, 0, 222}, {1590, 0, 639, 0},
  };
  for (const auto& c : cases) {
    motion(c.wx, c.wy);
    EXPECT_EQ(input::mouse_x(), c.lx) << c.wx;
    EXPECT_EQ(input::mouse_y(), c.ly) << c.wy;
  }
  for (auto [x, y] : {std::pair{315, 245}, {0, 0}, {639, 479}}) {
    input::move_mouse(x, y);
    EXPECT_EQ(input::mouse_x(), x);
    EXPECT_EQ(input::mouse_y(), y);
  }
  input::move_mouse(-6, 500);   // off the picture: the pointer stops at its edge
  EXPECT_EQ(input::mouse_x(), 0);
  EXPECT_EQ(input::mouse_y(), 479);
}

TEST_F(DummyDevice, FocusAndMinimisingSuspendAndForgetPresses) {
  open();
  EXPECT_FALSE(app::suspended());
  key(SDL_SCANCODE_SPACE, true);
  window_event(SDL_WINDOWEVENT_FOCUS_LOST);
  EXPECT_TRUE(app::suspended());
  EXPECT_EQ(input::key_hits(input::VK_SPACE), 0);
  window_event(SDL_WINDOWEVENT_FOCUS_GAINED);
  EXPECT_FALSE(app::suspended());

  window_event(SDL_WINDOWEVENT_MINIMIZED);
  EXPECT_TRUE(app::suspended());
  window_event(SDL_WINDOWEVENT_FOCUS_GAINED);   // still minimised
  EXPECT_TRUE(app::suspended());
  window_event(SDL_WINDOWEVENT_RESTORED);
  EXPECT_FALSE(app::suspended());
  EXPECT_TRUE(dev.display().fullscreen());
  EXPECT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP);
}

TEST_F(DummyDevice, QuitIsACloseRequestAndWaitingDeliversEvents) {
  open();
  SDL_Event q{};
  q.type = SDL_QUIT;
  push(q);
  dev.wait_events(1000);   // returns with the event, not after the timeout
  EXPECT_TRUE(app::close_requested());
  EXPECT_FALSE(app::close_requested());
  // Being told to stop by the system (logout, kill) is a close request too,
  // so the best score is still saved.
  raise(SIGTERM);
  EXPECT_TRUE(app::close_requested());
}

TEST_F(DummyDevice, JoysticksAreThoseConnectedWhenTheDisplayOpened) {
  const int before = SDL_NumJoysticks();
  int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, 2, 3, 0);
  ASSERT_GE(index, 0) << SDL_GetError();
  SDL_Joystick* j = SDL_JoystickOpen(index);
  open();
  EXPECT_EQ(dev.joystick_count(), before + 1);
  SDL_JoystickSetVirtualButton(j, 2, 1);
  SDL_JoystickSetVirtualAxis(j, 0, -32768);
  plat::JoySample s = dev.joystick_sample(before);
  EXPECT_EQ(s.buttons, 1u << 2);
  EXPECT_EQ(s.x, -1.0f);

  int late = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, 2, 3, 0);
  ASSERT_GE(late, 0);
  EXPECT_EQ(dev.joystick_count(), before + 1);
  SDL_JoystickClose(j);
}

}  // namespace
