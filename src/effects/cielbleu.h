// cielbleu: the blue sky gradient that the sky command lays over a photo.
#pragma once

#include "surface/cDIBSection.h"

namespace fotavel::cielbleu {

// Paints the whole canvas with the sky gradient: blue (red 84, green 117,
// blue 212) on the top row as displayed, fading to white at half height,
// white below. Displayed row v (storage row H - 1 - v) has, per channel,
// min(255, round(start + 2 * v * (255 - start) / H)), halves to even. Row
// padding is left alone; an empty canvas is left as it is.
void PaintGradient(cDIBSection& canvas);

}  // namespace fotavel::cielbleu
