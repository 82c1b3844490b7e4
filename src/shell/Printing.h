// The arithmetic of a printed page: which orientation to offer, the photo's fitted size and place.
#pragma once

namespace fotavel::print {

// Room kept free of the photo, taken off the sheet's height and width before
// fitting: the height's share leaves space for the title line above it.
inline constexpr int kAllowanceHeight = 2000;
inline constexpr int kAllowanceWidth = 800;

enum class Orientation { Portrait = 1, Landscape = 2 };

enum class Question { None, ToLandscape, ToPortrait };

// The question a photo of width × height asks on a printer set to `current`:
// a landscape photo on a portrait printer, or a portrait photo on a landscape
// one. A square photo, or one that already suits the printer, asks nothing.
Question QuestionFor(Orientation current, double width, double height);

// A length in inches as whole twips, halves to even, as the sheet's size is
// taken.
int Twips(double inches);

// The photo on the sheet: its size and its top-left corner, in twips from the
// sheet's top-left corner.
struct Placement {
  double width = 0;
  double height = 0;
  int x = 0;
  int y = 0;
};

// A photo of width × height twips on a sheet of pageWidth × pageHeight:
// shrunk (never enlarged), proportions kept, until it fits the sheet less the
// allowances, then centred on the whole sheet.
Placement PlaceOnPage(int pageWidth, int pageHeight, double width, double height);

// The title's left edge from the printable area's left edge: centred over
// the printable width. Negative when the title is wider than the area.
double TitleLeft(double innerWidth, double textWidth);

}  // namespace fotavel::print
