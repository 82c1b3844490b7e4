// mHLSRGB: the scalar colour conversions, with the model's single-precision storage points.
#include "surface/mHLSRGB.h"

#include <cmath>

namespace fotavel::mHLSRGB {

namespace {

// A value kept between steps: rounded to single precision.
inline float Keep(double v) { return static_cast<float>(v); }

// The channel value scaled to a byte, nearest with halves to even (the
// default rounding mode). f × 255 is exact in double, so only this rounding
// happens.
inline int ToByte(float channel) {
  return static_cast<int>(std::nearbyint(double{channel} * 255.0));
}

}  // namespace

float Maximum(float a, float b, float c) {
  if (a > b) return a > c ? a : c;
  return c > b ? c : b;
}

float Minimum(float a, float b, float c) {
  if (a >= b) return c < b ? c : b;
  return a < c ? a : c;
}

void RGBToHLS(int r, int g, int b, float& h, float& s, float& l) {
  const float fr = Keep(r / 255.0);
  const float fg = Keep(g / 255.0);
  const float fb = Keep(b / 255.0);
  const float max = Maximum(fr, fg, fb);
  const float min = Minimum(fr, fg, fb);
  const double dmax = max;
  const double dmin = min;
  l = Keep((dmax + dmin) / 2);
  if (max == min) {
    s = 0;
    h = 0;
    return;
  }
  const double delta = dmax - dmin;
  s = l <= 0.5f ? Keep(delta / (dmax + dmin)) : Keep(delta / (2 - dmax - dmin));
  if (fr == max) {
    h = Keep((double{fg} - fb) / delta);
  } else if (fg == max) {
    h = Keep(2 + (double{fb} - fr) / delta);
  } else {
    h = Keep(4 + (double{fr} - fg) / delta);
  }
}

void HLSToRGB(float h, float s, float l, int& r, int& g, int& b) {
  if (s == 0) {
    r = g = b = ToByte(l);
    return;
  }
  const double dl = l;
  const float m1 = dl <= 0.5 ? Keep(dl * (1 - double{s})) : Keep(dl - (1 - dl) * s);
  const float m2 = Keep(2 * dl - m1);
  // The gap between the two components is used straight from the double
  // arithmetic; only the channel values are kept.
  const double d = double{m2} - m1;
  const double dh = h;
  float fr, fg, fb;
  if (h < 0) {
    fr = m2, fg = m1, fb = Keep(m1 - d * dh);
  } else if (h < 1) {
    fr = m2, fg = Keep(m1 + d * dh), fb = m1;
  } else if (h < 2) {
    fr = Keep(m1 - d * (dh - 2)), fg = m2, fb = m1;
  } else if (h < 3) {
    fr = m1, fg = m2, fb = Keep(m1 + d * (dh - 2));
  } else if (h < 4) {
    fr = m1, fg = Keep(m1 - d * (dh - 4)), fb = m2;
  } else {
    fr = Keep(m1 + d * (dh - 4)), fg = m1, fb = m2;
  }
  r = ToByte(fr);
  g = ToByte(fg);
  b = ToByte(fb);
}

}  // namespace fotavel::mHLSRGB
