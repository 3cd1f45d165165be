// The game executable: the shell over the SDL2 desktop device.
#include "platform/sdl_device.h"
#include "platform/device.h"
#include "shell/game.h"

int main() {
  plat::SdlDevice dev;
  plat::use_device(&dev);
  return run_game();
}
