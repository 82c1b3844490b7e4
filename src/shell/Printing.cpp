// The arithmetic of a printed page: which orientation to offer, the photo's fitted size and place.
#include "shell/Printing.h"

#include "shell/ViewRules.h"

namespace fotavel::print {

Question QuestionFor(Orientation current, double width, double height) {
  // Answering the first question Yes makes the second condition false, and
  // No leaves the printer in portrait: one photo asks at most once.
  if (current == Orientation::Portrait && width > height) return Question::ToLandscape;
  if (current == Orientation::Landscape && height > width) return Question::ToPortrait;
  return Question::None;
}

int Twips(double inches) { return view::RoundHalfEven(inches * 1440.0); }

Placement PlaceOnPage(int pageWidth, int pageHeight, double width, double height) {
  double w = width;
  double h = height;
  // Height first, then width: a photo too large both ways ends bounded by
  // the tighter of the two, its proportions kept at each step.
  const int p = pageHeight - kAllowanceHeight;
  if (p < h) {
    w = w * p / h;
    h = p;
  }
  const int q = pageWidth - kAllowanceWidth;
  if (q < w) {
    h = h * q / w;
    w = q;
  }
  Placement placed;
  placed.width = w;
  placed.height = h;
  placed.x = view::RoundHalfEven(pageWidth / 2.0 - w / 2.0);
  placed.y = view::RoundHalfEven(pageHeight / 2.0 - h / 2.0);
  return placed;
}

double TitleLeft(double innerWidth, double textWidth) { return (innerWidth - textWidth) / 2.0; }

}  // namespace fotavel::print
