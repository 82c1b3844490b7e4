// mHLSRGB: one colour between red-green-blue bytes and hue-lightness-saturation values.
#pragma once

namespace fotavel::mHLSRGB {

// Hue is in sextants, not degrees: red 0, yellow 1, green 2, cyan 3, blue 4,
// magenta 5 or -1. Colours between magenta and red come out negative
// (-1 < h < 0); HLSToRGB accepts both forms. Saturation and lightness run
// 0 … 1.
//
// Every value these procedures keep is a float, while the arithmetic between
// two kept values runs in double; results depend on exactly where the
// rounding to float happens, so the effects that use this model (and their
// vectorised forms) must round at the same places.

// red, green, blue in 0 … 255.
void RGBToHLS(int r, int g, int b, float& h, float& s, float& l);
// Each channel is rounded to the nearest integer, halves to even. There is no
// clamping: callers keep l within 0 … 1.
void HLSToRGB(float h, float s, float l, int& r, int& g, int& b);

// The largest and smallest of three values; on ties only the value matters.
float Maximum(float a, float b, float c);
float Minimum(float a, float b, float c);

}  // namespace fotavel::mHLSRGB
