// The rectangles of cropping and straightening, for the engine, the document and the window alike.
#pragma once

#include <cstdint>

namespace fotavel {

// A rectangle of a picture in pixels, from its top-left corner as displayed.
struct PixelRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;

  bool operator==(const PixelRect&) const = default;
  std::int64_t right() const { return std::int64_t{left} + width; }
  std::int64_t bottom() const { return std::int64_t{top} + height; }
};

struct PixelSize {
  std::int32_t width = 0;
  std::int32_t height = 0;

  bool operator==(const PixelSize&) const = default;
};

// The limits of a straightening, in degrees.
inline constexpr double kMaxStraightenDegrees = 45.0;

// True when `rect` is at least 1 x 1 and lies wholly inside a width x height picture.
bool RectInside(const PixelRect& rect, std::int32_t width, std::int32_t height);

// The largest rectangle of proportions ratioWidth : ratioHeight that a
// width x height picture holds, centred (an odd pixel left over goes to the
// right and bottom). Each side at least 1. Ratios must be positive.
PixelRect LargestCentred(std::int32_t width, std::int32_t height, std::int32_t ratioWidth,
                         std::int32_t ratioHeight);

// The size Straighten gives a width x height picture turned by `degrees`:
// whiteCorners, the box that holds the whole turned picture; otherwise the
// largest centred rectangle of the picture's own proportions that lies
// inside the turned picture. Each side at least 1; 0 degrees keeps the size.
PixelSize StraightenedSize(std::int32_t width, std::int32_t height, double degrees,
                           bool whiteCorners);

// The angle that makes the line from (x1, y1) to (x2, y2) (pixels, y
// downwards) level when it is nearer horizontal, upright when nearer
// vertical: the straightening to ask for, in degrees, within -45 … 45.
double LevellingAngle(double x1, double y1, double x2, double y2);

}  // namespace fotavel
