// The large-font adaptation: a window's controls scaled by 96 / the screen's dots per inch, once.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace fotavel {

// Horizontal and vertical dots per inch of the screen a window is on.
struct Resolution {
  double dx = 96;
  double dy = 96;
};

// What the adaptation reads: the logical dots per inch Qt reports for the
// window, unless SetScreenResolution put something else in its place.
//
// Why the logical figure, and why this never doubles Qt's own scaling: Qt 6
// always puts the desktop's scale factor into the device pixel ratio, and
// what it then reports as logical dots per inch is what is left over, 96 on
// a desktop set to 120 dpi or 200 %. There the adaptation does nothing: Qt
// already draws fonts and frames larger together, keeping the window's
// proportions. Another figure only comes back when Qt leaves part of the
// desktop's setting out of the ratio (scaling switched off with
// QT_ENABLE_HIGHDPI_SCALING=0, or a rounding policy that keeps the factor
// whole); Qt then draws fonts sized in points, and the image buttons their
// twips, larger by dpi / 96, and the adaptation takes the controls back down
// by 96 / dpi, fonts and frames alike, as the program always has on a
// large-font screen.
Resolution ScreenResolution(const QWidget& window);
// Replaces what ScreenResolution answers for every window, so that tests can
// fake a 120 dpi screen without one; an empty function gives Qt's answer back.
void SetScreenResolution(std::function<Resolution(const QWidget&)> source);

// Adapts the controls of `window` to `dpi` when `key` is "LesControles" (any
// other key does nothing): at a vertical resolution other than 96, the
// positions and sizes of its lines, labels, pictures, text boxes, lists,
// push buttons, check boxes and image buttons, and the fonts of those that
// show text, are scaled by 96 / dpi; an image button's caption too long for
// its new width is cut and ends with ".". Each call scales again: a window
// applies it once (AdaptAtFirstActivation).
void PoliceGdTaille(QWidget& window, const QString& key, Resolution dpi);
// The same at ScreenResolution(window).
void PoliceGdTaille(QWidget& window, const QString& key);

// Applies PoliceGdTaille(window, "LesControles") when `window` is first
// activated, and never again: activations that follow (a dialog closing over
// it) find it already adapted.
void AdaptAtFirstActivation(QWidget& window);

}  // namespace fotavel
