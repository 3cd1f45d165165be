// Joystick and gamepad sampling, with SDL's virtual joysticks standing in for
// real devices (no display or hardware needed).
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include "platform/sdl_joystick.h"

namespace {

TEST(SdlJoystick, AxisIsExactlyMinusOneAndOneAtTheEndStops) {
  const struct { int v; float unit; } cases[] = {
      {-32768, -1.0f}, {32767, 1.0f}, {0, float(2.0 * 32768 / 65535 - 1)},
      {-16384, float(2.0 * 16384 / 65535 - 1)}, {32766, float(2.0 * 65534 / 65535 - 1)},
  };
  for (const auto& c : cases) EXPECT_EQ(plat::axis_unit(c.v), c.unit) << c.v;
  EXPECT_LT(plat::axis_unit(32766), 1.0f);   // one step short of the stop is not the stop
  EXPECT_GT(plat::axis_unit(-32767), -1.0f);
}

// Attaches virtual devices after whatever real ones exist and finds their ports.
class VirtualJoysticks : public ::testing::Test {
 protected:
  void SetUp() override {
    SDL_SetHint(SDL_HINT_GAMECONTROLLER_USE_BUTTON_LABELS, "0");
    ASSERT_EQ(SDL_Init(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
    first_port_ = SDL_NumJoysticks();
  }
  void TearDown() override {
    sticks_.close_all();
    for (SDL_Joystick* j : handles_) SDL_JoystickClose(j);
    for (int i = SDL_NumJoysticks() - 1; i >= 0; --i)
      if (SDL_JoystickIsVirtual(i)) SDL_JoystickDetachVirtual(i);
    SDL_Quit();
  }
  // A virtual device; its handle sets the state that sampling should see.
  SDL_Joystick* attach(SDL_JoystickType type, int axes, int buttons, int hats) {
    int index = SDL_JoystickAttachVirtual(type, axes, buttons, hats);
    EXPECT_GE(index, 0) << SDL_GetError();
    SDL_Joystick* j = SDL_JoystickOpen(index);
    EXPECT_NE(j, nullptr) << SDL_GetError();
    handles_.push_back(j);
    return j;
  }
  plat::JoySample sample_after(SDL_Joystick* j, int port, auto&& set) {
    set(j);
    return sticks_.sample(port);
  }
  plat::SdlJoysticks sticks_;
  std::vector<SDL_Joystick*> handles_;
  int first_port_ = 0;
};

TEST_F(VirtualJoysticks, RawJoystickReadsButtonsAxesAndHatInOrder) {
  SDL_Joystick* j = attach(SDL_JOYSTICK_TYPE_UNKNOWN, 2, 4, 1);
  sticks_.open_all();
  const int port = first_port_;
  ASSERT_EQ(sticks_.count(), first_port_ + 1);
  EXPECT_FALSE(sticks_.is_controller(port));

  const struct { int ax, ay; int buttons; Uint8 hat; uint32_t bits; float x, y; } cases[] = {
      {-32768, 32767, 0, SDL_HAT_CENTERED, 0u, -1.0f, 1.0f},
      {32767, -32768, 0b0101, SDL_HAT_CENTERED, 0b0101u, 1.0f, -1.0f},
      {-16384, 0, 0b1000, SDL_HAT_CENTERED, 0b1000u, plat::axis_unit(-16384), plat::axis_unit(0)},
      {0, 0, 0, SDL_HAT_LEFTUP, 0u, -1.0f, -1.0f},       // the hat acts like a D-pad
      {-32768, 0, 0, SDL_HAT_RIGHT, 0u, 1.0f, plat::axis_unit(0)},
  };
  for (const auto& c : cases) {
    plat::JoySample s = sample_after(j, port, [&](SDL_Joystick* h) {
      SDL_JoystickSetVirtualAxis(h, 0, Sint16(c.ax));
      SDL_JoystickSetVirtualAxis(h, 1, Sint16(c.ay));
      for (int b = 0; b < 4; ++b) SDL_JoystickSetVirtualButton(h, b, (c.buttons >> b) & 1);
      SDL_JoystickSetVirtualHat(h, 0, c.hat);
    });
    EXPECT_EQ(s.buttons, c.bits);
    EXPECT_EQ(s.x, c.x);
    EXPECT_EQ(s.y, c.y);
  }
}

TEST_F(VirtualJoysticks, GameControllerIsReadByButtonPosition) {
  SDL_Joystick* j = attach(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX, SDL_CONTROLLER_BUTTON_MAX, 0);
  sticks_.open_all();
  const int port = first_port_;
  ASSERT_TRUE(sticks_.is_controller(port));
  SDL_GameController* pad = SDL_GameControllerOpen(port);
  ASSERT_NE(pad, nullptr);

  // The virtual controller's buttons are numbered like SDL's: A (south) 0, B
  // (east) 1, X (west) 2, Y (north) 3.
  const struct { int sdl_button; uint32_t bits; } buttons[] = {
      {SDL_CONTROLLER_BUTTON_A, 1u << 0}, {SDL_CONTROLLER_BUTTON_B, 1u << 1},
      {SDL_CONTROLLER_BUTTON_X, 1u << 2}, {SDL_CONTROLLER_BUTTON_Y, 1u << 3},
  };
  for (const auto& c : buttons) {
    plat::JoySample s = sample_after(j, port, [&](SDL_Joystick* h) {
      for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b) SDL_JoystickSetVirtualButton(h, b, b == c.sdl_button);
    });
    EXPECT_EQ(s.buttons & 0xF, c.bits) << "button " << c.sdl_button;
    EXPECT_EQ(SDL_GameControllerGetButton(pad, SDL_GameControllerButton(c.sdl_button)), 1);
  }

  // D-pad wins over the stick and reads exactly -1/+1; the stick reads by the
  // formula inside its rim and as the stop on it; the right stick moves nothing.
  const struct { int lx, ly, rx; int dpad; float x, y; } moves[] = {
      {0, 0, 0, SDL_CONTROLLER_BUTTON_DPAD_LEFT, -1.0f, plat::axis_unit(0)},
      {0, 0, 0, SDL_CONTROLLER_BUTTON_DPAD_DOWN, plat::axis_unit(0), 1.0f},
      {32767, 0, 0, SDL_CONTROLLER_BUTTON_DPAD_LEFT, -1.0f, plat::axis_unit(0)},
      {-32768, -32768, 0, -1, -1.0f, -1.0f},
      {20000, 32767, -32768, -1, plat::axis_unit(20000), 1.0f},
      {29999, -29999, 0, -1, plat::axis_unit(29999), plat::axis_unit(-29999)},
      {30000, -30000, 0, -1, 1.0f, -1.0f},   // a stick short of the very end still moves the game
      {0, 0, 32767, -1, plat::axis_unit(0), plat::axis_unit(0)},
  };
  for (const auto& c : moves) {
    plat::JoySample s = sample_after(j, port, [&](SDL_Joystick* h) {
      for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b) SDL_JoystickSetVirtualButton(h, b, b == c.dpad);
      SDL_JoystickSetVirtualAxis(h, SDL_CONTROLLER_AXIS_LEFTX, Sint16(c.lx));
      SDL_JoystickSetVirtualAxis(h, SDL_CONTROLLER_AXIS_LEFTY, Sint16(c.ly));
      SDL_JoystickSetVirtualAxis(h, SDL_CONTROLLER_AXIS_RIGHTX, Sint16(c.rx));
    });
    EXPECT_EQ(s.x, c.x) << c.lx << " dpad " << c.dpad;
    EXPECT_EQ(s.y, c.y) << c.ly << " dpad " << c.dpad;
  }
  SDL_GameControllerClose(pad);
}

TEST_F(VirtualJoysticks, UnknownPortAndUnpluggedDeviceReadIdle) {
  SDL_Joystick* j = attach(SDL_JOYSTICK_TYPE_UNKNOWN, 2, 2, 0);
  sticks_.open_all();
  const int port = first_port_;
  SDL_JoystickSetVirtualButton(j, 0, 1);
  SDL_JoystickSetVirtualAxis(j, 0, -32768);
  EXPECT_EQ(sticks_.sample(port).buttons, 1u);

  for (int p : {-1, sticks_.count(), 99}) {
    plat::JoySample s = sticks_.sample(p);
    EXPECT_EQ(s.buttons, 0u);
    EXPECT_EQ(s.x, 0.0f);
    EXPECT_EQ(s.y, 0.0f);
  }
  SDL_JoystickDetachVirtual(SDL_NumJoysticks() - 1);
  plat::JoySample gone = sticks_.sample(port);
  EXPECT_EQ(gone.buttons, 0u);
  EXPECT_EQ(gone.x, 0.0f);
  EXPECT_EQ(sticks_.count(), first_port_ + 1);   // still counted: enumeration happened once
}

}  // namespace
