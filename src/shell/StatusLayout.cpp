// Where the status area's labels stand for a given main-window width.
#include "shell/StatusLayout.h"

#include <cmath>

namespace fotavel::layout {

StatusPlaces PlaceStatusLabels(const StatusInput& in) {
  const double W = in.windowWidth;
  const double m = in.margin;
  const double N =
      std::nearbyint(in.sizeWidth + in.zoomWidth + in.imageWidth + 6 * in.twipsPerPixelX);
  StatusPlaces places;
  if (W - N >= N) {
    places.statusWidth = W - 4 * m - N - 140;
    places.sizeLeft = W - (in.sizeWidth + 2) - m - 140;
    places.imageLeft = places.sizeLeft - (in.imageWidth + 2) - m;
    places.zoomLeft = places.imageLeft - (in.zoomWidth + 2) - m;
  } else if (W - N >= N / 3) {
    places.sizeVisible = false;
    places.imageVisible = false;
    places.statusWidth = W - 2 * m - (in.zoomWidth + 2) - 140;
    places.zoomLeft = W - (in.zoomWidth + 2) - m - 140;
  } else {
    places.sizeVisible = false;
    places.imageVisible = false;
    places.zoomVisible = false;
    places.statusWidth = W - 2 * m - 140;
  }
  return places;
}

}  // namespace fotavel::layout
