// Scancode -> virtual-key numbering.
#include <SDL2/SDL_scancode.h>
#include <gtest/gtest.h>

#include <map>

#include "platform/sdl_keymap.h"

namespace {

TEST(SdlKeymap, KeysMapToTheirVirtualKeyCodes) {
  const struct { int sc; int vk; } cases[] = {
      {SDL_SCANCODE_ESCAPE, 27}, {SDL_SCANCODE_SPACE, 32}, {SDL_SCANCODE_RETURN, 13},
      {SDL_SCANCODE_KP_ENTER, 13}, {SDL_SCANCODE_BACKSPACE, 8}, {SDL_SCANCODE_TAB, 9},
      {SDL_SCANCODE_LEFT, 37}, {SDL_SCANCODE_UP, 38}, {SDL_SCANCODE_RIGHT, 39}, {SDL_SCANCODE_DOWN, 40},
      {SDL_SCANCODE_LSHIFT, 160}, {SDL_SCANCODE_RSHIFT, 161}, {SDL_SCANCODE_LCTRL, 162},
      {SDL_SCANCODE_RCTRL, 163}, {SDL_SCANCODE_LALT, 164}, {SDL_SCANCODE_RALT, 165},
      {SDL_SCANCODE_A, 'A'}, {SDL_SCANCODE_M, 'M'}, {SDL_SCANCODE_Z, 'Z'},
      {SDL_SCANCODE_1, '1'}, {SDL_SCANCODE_9, '9'}, {SDL_SCANCODE_0, '0'},
      {SDL_SCANCODE_F1, 112}, {SDL_SCANCODE_F12, 123}, {SDL_SCANCODE_F13, 124}, {SDL_SCANCODE_F24, 135},
      {SDL_SCANCODE_KP_0, 96}, {SDL_SCANCODE_KP_1, 97}, {SDL_SCANCODE_KP_9, 105},
      {SDL_SCANCODE_PAGEUP, 33}, {SDL_SCANCODE_PAGEDOWN, 34}, {SDL_SCANCODE_END, 35},
      {SDL_SCANCODE_HOME, 36}, {SDL_SCANCODE_INSERT, 45}, {SDL_SCANCODE_DELETE, 46},
      {SDL_SCANCODE_PAUSE, 19}, {SDL_SCANCODE_CAPSLOCK, 20},
      // Unmapped keys and out-of-range scancodes are dropped.
      {SDL_SCANCODE_UNKNOWN, 0}, {SDL_SCANCODE_AUDIOPLAY, 0}, {-1, 0},
      {SDL_NUM_SCANCODES, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(plat::vk_from_scancode(c.sc), c.vk) << "scancode " << c.sc;
}

// Two physical keys sharing a code would make one unreadable; only the
// deliberate aliases may share.
TEST(SdlKeymap, NoTwoKeysShareACodeExceptAliases) {
  const std::map<int, int> aliases = {{SDL_SCANCODE_KP_ENTER, SDL_SCANCODE_RETURN},
                                      {SDL_SCANCODE_NONUSHASH, SDL_SCANCODE_BACKSLASH}};
  std::map<int, int> first_key_of;
  for (int sc = 0; sc < SDL_NUM_SCANCODES; ++sc) {
    int vk = plat::vk_from_scancode(sc);
    ASSERT_GE(vk, 0);
    ASSERT_LT(vk, 256);
    if (vk == 0) continue;
    auto [it, fresh] = first_key_of.emplace(vk, sc);
    if (!fresh) {
      auto a = aliases.find(sc);
      EXPECT_TRUE(a != aliases.end() && a->second == it->second)
          << "scancodes " << it->second << " and " << sc << " both give " << vk;
    }
  }
}

}  // namespace
