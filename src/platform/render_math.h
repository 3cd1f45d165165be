// The renderer's arithmetic: the one 8-bit rounding rule, and a sine and
// cosine of degrees that give the same bits in every build (no libm, no
// fused operations), exact at multiples of 90 degrees.
#pragma once
#include <cmath>
#include <cstdint>

namespace gfx {

// round(a * b / 255) for a, b in 0..255; a * b / 255 never falls on a half.
inline uint32_t mul255(uint32_t a, uint32_t b) {
  uint32_t t = a * b + 128;
  return (t + (t >> 8)) >> 8;
}

// round(x / 255) for x in 0..65025.
inline uint32_t div255(uint32_t x) {
  x += 128;
  return (x + (x >> 8)) >> 8;
}

// round(alpha * 255) of an alpha already clamped to 0..1 (exact in double:
// a float times 255 plus a half needs fewer than 53 bits).
inline uint32_t alpha_byte(float alpha) { return uint32_t(double(alpha) * 255.0 + 0.5); }

// A product rounded on its own: keeps the compiler from fusing it into a
// multiply-add where the target has one, which would change the bits.
inline double product(double a, double b) {
  double p = a * b;
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
  asm("" : "+x"(p));
#else
  volatile double v = p;
  p = v;
#endif
  return p;
}

// Sine and cosine of an angle in degrees. The angle is reduced exactly to an
// octant and evaluated by a Taylor series (error below 1e-16 there).
inline void sin_cos_degrees(double degrees, double& s, double& c) {
  double r = std::fmod(degrees, 360.0);  // exact
  if (r < 0) r += 360.0;
  if (!(r < 360.0)) r = 0;               // -tiny + 360 rounds up to 360
  int quadrant = int(r / 90.0);
  if (quadrant > 3) quadrant = 3;
  double a = r - 90.0 * quadrant;        // exact, 0 <= a < 90
  bool swap = a > 45.0;
  if (swap) a = 90.0 - a;                 // exact
  const double t = a * (3.14159265358979323846 / 180.0);
  const double t2 = t * t;
  // sin t = t - t^3/3! + ..., cos t = 1 - t^2/2! + ...; |t| <= pi/4.
  double sn = 1.0, cs = 1.0;
  for (int k = 16; k >= 2; k -= 2) {
    sn = 1.0 - sn * t2 / double((k) * (k + 1));
    cs = 1.0 - cs * t2 / double((k - 1) * (k));
  }
  sn *= t;
  double ss = swap ? cs : sn, cc = swap ? sn : cs;
  switch (quadrant) {
    case 0: s = ss; c = cc; break;
    case 1: s = cc; c = -ss; break;
    case 2: s = -ss; c = -cc; break;
    default: s = -cc; c = ss; break;
  }
}

}  // namespace gfx
