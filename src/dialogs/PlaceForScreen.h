// Dialogs placed by hand in pixels of a 96 dpi screen, grown with their fonts on another screen.
#pragma once

class QWidget;

namespace fotavel {

// The dialogs give their controls fixed places and sizes, in pixels of the
// screen of 96 dots per inch they were drawn for, and their fonts in points.
// With Qt's own scaling on, Qt reports 96 dpi whatever the screen and draws
// the whole window larger itself. Where it reports another logical resolution
// (scaling switched off with QT_ENABLE_HIGHDPI_SCALING=0 on a 120 dpi
// screen), the fonts alone are drawn larger, by dpi / 96, and would no longer
// fit their boxes: this scales the places and sizes of `dialog`'s controls,
// and the dialog's own size, by the same dpi / 96, as a window drawn in twips
// grows on such a screen. Controls that a layout places are left to it.
// Called once, at the end of the constructor, when every control is placed.
void PlaceForScreen(QWidget& dialog);

}  // namespace fotavel
