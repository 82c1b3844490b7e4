// The rectangles of cropping and straightening.
#include "effects/CropGeometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace fotavel {
namespace {
// A side computed in floating point is taken whole: a hair of rounding error
// must neither lose a pixel of a size that is exact (0 degrees keeps the
// size) nor add one.
constexpr double kSlack = 1e-6;

std::int32_t Side(double value) {
  return static_cast<std::int32_t>(std::clamp(value, 1.0, 2147483647.0));
}
}  // namespace

bool RectInside(const PixelRect& rect, std::int32_t width, std::int32_t height) {
  return rect.width >= 1 && rect.height >= 1 && rect.left >= 0 && rect.top >= 0 &&
         rect.right() <= width && rect.bottom() <= height;
}

PixelRect LargestCentred(std::int32_t width, std::int32_t height, std::int32_t ratioWidth,
                         std::int32_t ratioHeight) {
  PixelRect rect{0, 0, width, height};
  // Wider than the ratio: the full height, the width it asks for.
  if (std::int64_t{width} * ratioHeight >= std::int64_t{height} * ratioWidth) {
    rect.width = static_cast<std::int32_t>(
        std::max<std::int64_t>(1, std::int64_t{height} * ratioWidth / ratioHeight));
  } else {
    rect.height = static_cast<std::int32_t>(
        std::max<std::int64_t>(1, std::int64_t{width} * ratioHeight / ratioWidth));
  }
  rect.left = (width - rect.width) / 2;
  rect.top = (height - rect.height) / 2;
  return rect;
}

PixelSize StraightenedSize(std::int32_t width, std::int32_t height, double degrees,
                           bool whiteCorners) {
  const double radians = degrees * std::numbers::pi / 180.0;
  const double c = std::abs(std::cos(radians));
  const double s = std::abs(std::sin(radians));
  const double w = width;
  const double h = height;
  if (whiteCorners) {
    return {Side(std::ceil(w * c + h * s - kSlack)), Side(std::ceil(w * s + h * c - kSlack))};
  }
  // A centred rectangle of the picture's proportions, scaled by k, turned
  // back by the angle, must keep its corners inside the picture:
  // k (w c + h s) <= w and k (w s + h c) <= h.
  const double k = std::min(w / (w * c + h * s), h / (w * s + h * c));
  return {Side(std::floor(k * w + kSlack)), Side(std::floor(k * h + kSlack))};
}

double LevellingAngle(double x1, double y1, double x2, double y2) {
  const double dx = x2 - x1;
  const double dy = y2 - y1;
  if (dx == 0 && dy == 0) return 0;
  // The line's slope as an angle, clockwise from the horizontal on screen,
  // folded into -90 … 90 (a line has no direction), then measured from the
  // nearer of the horizontal and the vertical.
  double angle = std::atan2(dy, dx) * 180.0 / std::numbers::pi;
  if (angle > 90) angle -= 180;
  if (angle <= -90) angle += 180;
  if (angle > 45) angle -= 90;
  if (angle < -45) angle += 90;
  return -angle;
}

}  // namespace fotavel
