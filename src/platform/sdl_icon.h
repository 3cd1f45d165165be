// The window icon: a small turkey with a fork, painted in code so the icon
// needs no file. Pixels are 0xAARRGGBB, row by row.
#pragma once
#include <cstdint>
#include <vector>

namespace plat {

constexpr int ICON_SIZE = 32;
std::vector<uint32_t> window_icon_pixels();

}  // namespace plat
