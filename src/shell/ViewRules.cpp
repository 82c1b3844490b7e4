// The arithmetic of a document's view: the fitting zoom, the zoom steps and the scroll-bar layout.
#include "shell/ViewRules.h"

#include <algorithm>
#include <cmath>

namespace fotavel::view {

int RoundHalfEven(double value) {
  // nearbyint follows the current rounding mode, which the program leaves at
  // round-to-nearest-even.
  return static_cast<int>(std::nearbyint(value));
}

int WholeDivide(double numerator, double denominator) {
  const int d = RoundHalfEven(denominator);
  return d == 0 ? 0 : RoundHalfEven(numerator) / d;
}

int ZoomAjuste(const Room& room, int photoWidth, int photoHeight) {
  if (photoWidth <= 0 || photoHeight <= 0) return 100;
  // The 800 and 1500 twips leave room for the document window's frame,
  // the menu bar and a margin.
  const int aw =
      RoundHalfEven((room.mainWidth - room.verticalToolbarWidth - 800) / room.twipsPerPixelX);
  const int ah = RoundHalfEven((room.mainHeight - room.toolbarHeight - room.statusHeight - 1500) /
                               room.twipsPerPixelY);
  const double zx = (aw * 100.0) / photoWidth;
  const double zy = (ah * 100.0) / photoHeight;
  const bool widthFits = aw >= photoWidth;
  const bool heightFits = ah >= photoHeight;
  double zoom = 100;
  if (widthFits && heightFits) {
    zoom = 100;
  } else if (!widthFits && heightFits) {
    zoom = zx;
  } else if (widthFits && !heightFits) {
    zoom = zy;
  } else {
    zoom = zy < zx ? zy : zx;
  }
  return RoundHalfEven(zoom);
}

int ZoomWithin(int roomWidth, int roomHeight, int photoWidth, int photoHeight) {
  if (photoWidth <= 0 || photoHeight <= 0) return 100;
  // Rounded down: the displayed size, photo x zoom / 100 rounded to the
  // nearest pixel, then stays within the room.
  const auto within = [](int room, int photo) {
    return int(std::floor(std::max(0, room) * 100.0 / photo));
  };
  return std::clamp(std::min(within(roomWidth, photoWidth), within(roomHeight, photoHeight)), 1,
                    100);
}

namespace {
double KeepPositive(double zoom) { return zoom <= 0 ? 1.5 : zoom; }
}  // namespace

double ZoomStepIn(double zoom) { return KeepPositive(zoom < 20 ? zoom + 1 : zoom + 10); }

std::optional<double> ZoomStepOut(double zoom, double displayedWidthTwips) {
  if (!(displayedWidthTwips > 2000)) return std::nullopt;
  return KeepPositive(zoom < 20 ? zoom - 1 : zoom - 10);
}

int WheelNotches(int& pending, int angleDelta) {
  if ((pending < 0 && angleDelta > 0) || (pending > 0 && angleDelta < 0)) pending = 0;
  const long long total = static_cast<long long>(pending) + angleDelta;
  const auto notches = static_cast<int>(total / 120);  // towards zero: the rest waits for more
  pending = static_cast<int>(total - notches * 120LL);
  return notches;
}

ScrollLayout LayoutScrollBars(const ViewportSizes& s) {
  ScrollLayout layout;
  layout.horizontalVisible = s.imageWidth > s.innerWidth - s.vScrollWidth;
  layout.verticalVisible = s.imageHeight > s.innerHeight - s.hScrollHeight;
  if (layout.horizontalVisible) {
    layout.horizontalMax =
        WholeDivide(s.imageWidth - s.innerWidth + s.vScrollWidth, s.twipsPerPixelX);
  }
  if (layout.verticalVisible) {
    layout.verticalMax =
        WholeDivide(s.imageHeight - s.innerHeight + s.hScrollHeight, s.twipsPerPixelY);
  }
  return layout;
}

}  // namespace fotavel::view
