// Colour values of the controls' properties (0x00BBGGRR or a system colour) and twips.
#include "controls/SystemColours.h"

#include <QWidget>

namespace fotavel {

namespace {

struct SystemRole {
  QPalette::ColorGroup group;
  QPalette::ColorRole role;
};

// The system colour indices that have a counterpart among the palette roles;
// the desktop, caption bar and border colours have none and stay untranslated.
std::optional<SystemRole> RoleOfSystemIndex(unsigned index) {
  constexpr auto A = QPalette::Active;
  switch (index) {
    case 0x04:
      return SystemRole{A, QPalette::Window};  // menu
    case 0x05:
      return SystemRole{A, QPalette::Base};  // window
    case 0x07:
      return SystemRole{A, QPalette::WindowText};  // menu text
    case 0x08:
      return SystemRole{A, QPalette::Text};  // window text
    case 0x0D:
      return SystemRole{A, QPalette::Highlight};  // highlight
    case 0x0E:
      return SystemRole{A, QPalette::HighlightedText};  // highlight text
    case 0x0F:
      return SystemRole{A, QPalette::Button};  // button face
    case 0x10:
      return SystemRole{A, QPalette::Dark};  // button shadow
    case 0x11:
      return SystemRole{QPalette::Disabled, QPalette::Text};  // grey text
    case 0x12:
      return SystemRole{A, QPalette::ButtonText};  // button text
    case 0x14:
      return SystemRole{A, QPalette::Light};  // button highlight
    case 0x15:
      return SystemRole{A, QPalette::Shadow};  // 3D dark shadow
    case 0x16:
      return SystemRole{A, QPalette::Midlight};  // 3D light
    case 0x17:
      return SystemRole{A, QPalette::ToolTipText};  // tooltip text
    case 0x18:
      return SystemRole{A, QPalette::ToolTipBase};  // tooltip background
    default:
      return std::nullopt;
  }
}

double LogicalDpiOrDefault(int dpi) { return dpi > 0 ? dpi : 96; }

}  // namespace

std::optional<QColor> TranslateColour(ColourValue value, const QPalette& palette) {
  if ((value & 0x80000000u) != 0) {
    if ((value & 0x7FFFFF00u) != 0) return std::nullopt;
    const auto role = RoleOfSystemIndex(value & 0xFFu);
    if (!role) return std::nullopt;
    return palette.color(role->group, role->role);
  }
  if ((value & 0xFF000000u) != 0) return std::nullopt;
  return QColor(static_cast<int>(value & 0xFFu), static_cast<int>((value >> 8) & 0xFFu),
                static_cast<int>((value >> 16) & 0xFFu));
}

ColourValue ColourValueOf(const QColor& colour) {
  const QColor rgb = colour.toRgb();
  return static_cast<ColourValue>(rgb.red()) | (static_cast<ColourValue>(rgb.green()) << 8) |
         (static_cast<ColourValue>(rgb.blue()) << 16);
}

double TwipsPerPixelX(const QWidget& widget) {
  return 1440.0 / LogicalDpiOrDefault(widget.logicalDpiX());
}

double TwipsPerPixelY(const QWidget& widget) {
  return 1440.0 / LogicalDpiOrDefault(widget.logicalDpiY());
}

}  // namespace fotavel
