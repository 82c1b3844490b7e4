// The arithmetic of a document's view: the fitting zoom, the zoom steps and the scroll-bar layout.
#pragma once

#include <optional>

namespace fotavel::view {

// Nearest integer, halves to the even neighbour (37.5 → 38, 36.5 → 36).
int RoundHalfEven(double value);
// Whole-number division of two lengths, each first rounded as above.
int WholeDivide(double numerator, double denominator);

// The room the main window offers a photo; every length in twips.
struct Room {
  double mainWidth = 0;
  double mainHeight = 0;
  double verticalToolbarWidth = 0;
  double toolbarHeight = 0;
  double statusHeight = 0;
  double twipsPerPixelX = 15;
  double twipsPerPixelY = 15;
};

// The zoom in whole percent (at most 100) at which a photo of
// photoWidth x photoHeight pixels fits the room without being enlarged.
int ZoomAjuste(const Room& room, int photoWidth, int photoHeight);

// The largest whole percent, at most 100 and at least 1, at which a photo
// of photoWidth x photoHeight pixels fits within roomWidth x roomHeight pixels
// with no pixel over: the zoom of a window too small for the fitting zoom.
int ZoomWithin(int roomWidth, int roomHeight, int photoWidth, int photoHeight);

// One tick of the zoom-in timer.
double ZoomStepIn(double zoom);
// One tick of the zoom-out timer; nothing while the displayed photo is
// 2000 twips wide or less.
std::optional<double> ZoomStepOut(double zoom, double displayedWidthTwips);

// The wheel's turns in whole notches of 120 (the angle a mouse wheel reports per
// click). A touchpad reports smaller turns: they are kept in `pending` until
// they make a notch; turning the other way starts the count again, so that a
// hesitation never steps the wrong way. Positive is away from the user.
int WheelNotches(int& pending, int angleDelta);

// What the viewport's scroll bars need; every length in twips.
struct ViewportSizes {
  double innerWidth = 0;   // W, inside the viewport
  double innerHeight = 0;  // H
  double imageWidth = 0;   // the displayed photo
  double imageHeight = 0;
  double hScrollHeight = 0;
  double vScrollWidth = 0;
  double twipsPerPixelX = 15;
  double twipsPerPixelY = 15;
};

struct ScrollLayout {
  bool horizontalVisible = false;
  bool verticalVisible = false;
  int horizontalMax = 0;  // screen pixels; meaningful only when visible
  int verticalMax = 0;
};

// Each bar's test uses the other bar's size whether that bar shows or not,
// so a photo just too wide for the room left beside a (hidden) vertical bar
// still gets its horizontal bar.
ScrollLayout LayoutScrollBars(const ViewportSizes& sizes);

}  // namespace fotavel::view
