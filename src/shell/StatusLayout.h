// Where the status area's labels stand for a given main-window width.
#pragma once

namespace fotavel::layout {

// Lengths in twips. `margin` is the message label's left position inside
// the status area; the three widths are those of the size, image and zoom labels.
struct StatusInput {
  double windowWidth = 0;
  double margin = 0;
  double sizeWidth = 0;
  double imageWidth = 0;
  double zoomWidth = 0;
  double twipsPerPixelX = 15;
};

struct StatusPlaces {
  bool sizeVisible = true;
  bool imageVisible = true;
  bool zoomVisible = true;
  double statusWidth = 0;  // also the progress bar's width
  double sizeLeft = 0;     // meaningful only for a visible label
  double imageLeft = 0;
  double zoomLeft = 0;
};

// With room for them the three labels stand at the right end, from right to
// left size, image, zoom; a narrower window keeps only the zoom, a very
// narrow one none; the message takes what is left. The 140 twips keep clear
// of the window's edge.
StatusPlaces PlaceStatusLabels(const StatusInput& in);

}  // namespace fotavel::layout
