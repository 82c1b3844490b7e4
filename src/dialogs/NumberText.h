// Reading the whole numbers typed into the dialogs' boxes, in the user's decimal notation.
#pragma once

#include <QLocale>
#include <QString>
#include <cstdint>
#include <optional>

namespace fotavel {

// The whole number `text` stands for, when all of it reads as a decimal
// number written in `locale`'s notation: optional blanks around it, an
// optional sign, ASCII digits and an optional decimal part after the locale's
// decimal separator (a digit on at least one side of it). A decimal part
// rounds to the nearest whole number, halves to the even one ("2,5" gives 2,
// "3,5" gives 4 in French). Nothing for any other text, or when the rounded
// value lies outside the 32-bit signed range. Group separators and exponents
// are not read: a box holds a plain number.
std::optional<std::int32_t> ReadWholeNumber(const QString& text, const QLocale& locale = QLocale());

}  // namespace fotavel
