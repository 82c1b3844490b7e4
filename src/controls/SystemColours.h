// Colour values of the controls' properties (0x00BBGGRR or a system colour) and twips.
#pragma once

#include <QColor>
#include <QPalette>
#include <cstdint>
#include <optional>

class QWidget;

namespace fotavel {

// A property colour: 0x00BBGGRR, or with the top bit set the index of a system
// colour in the low byte (0x80000011 grey text, 0x8000000D highlight,
// 0x8000000F button face).
using ColourValue = std::uint32_t;

inline constexpr ColourValue kSysGrayText = 0x80000011u;
inline constexpr ColourValue kSysHighlight = 0x8000000Du;
inline constexpr ColourValue kSysButtonFace = 0x8000000Fu;

// The colour that `value` stands for, system colours taken from `palette`.
// Empty when the value cannot be translated: a system index without a palette
// role, or a high byte that is neither 0 nor a system colour.
std::optional<QColor> TranslateColour(ColourValue value, const QPalette& palette);

// The 0x00BBGGRR value of a plain colour (alpha dropped).
ColourValue ColourValueOf(const QColor& colour);

// Twips per screen pixel: 1440 / the screen's logical dots per inch (15 at 96 dpi).
double TwipsPerPixelX(const QWidget& widget);
double TwipsPerPixelY(const QWidget& widget);

}  // namespace fotavel
