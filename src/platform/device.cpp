// The device the platform layer currently runs on.
#include "platform/device.h"

#include <cstdio>
#include <cstdlib>

namespace plat {
namespace {
Device* current = nullptr;
}

void use_device(Device* d) { current = d; }

Device& device() {
  if (!current) {
    std::fprintf(stderr, "gobblestamp: no device in use\n");
    std::abort();
  }
  return *current;
}

}  // namespace plat
