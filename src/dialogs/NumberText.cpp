// Whole numbers read from typed text, rounded on the decimal digits themselves.
#include "dialogs/NumberText.h"

#include <algorithm>

namespace fotavel {
namespace {

bool IsAsciiDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

}  // namespace

std::optional<std::int32_t> ReadWholeNumber(const QString& text, const QLocale& locale) {
  const QString s = text.trimmed();
  qsizetype i = 0;
  bool negative = false;
  const QString minus = locale.negativeSign();
  const QString plus = locale.positiveSign();
  if (i < s.size() && (s[i] == QLatin1Char('-') || s[i] == QLatin1Char('+'))) {
    negative = s[i] == QLatin1Char('-');
    ++i;
  } else if (!minus.isEmpty() && s.startsWith(minus)) {
    negative = true;
    i = minus.size();
  } else if (!plus.isEmpty() && s.startsWith(plus)) {
    i = plus.size();
  }

  // The whole part is accumulated in 64 bits and saturates well beyond the
  // 32-bit range, so that any run of digits stays cheap and exact enough to refuse.
  constexpr std::uint64_t kBeyond = std::uint64_t{1} << 40;
  std::uint64_t whole = 0;
  qsizetype digits = 0;
  for (; i < s.size() && IsAsciiDigit(s[i]); ++i, ++digits) {
    whole = std::min(kBeyond, whole * 10 + std::uint64_t(s[i].unicode() - u'0'));
  }

  // Rounding looks at the decimal digits as written rather than at a binary
  // double, so a half is exactly a half: "0,5" is 5 followed by zeros only.
  enum class Fraction { Zero, BelowHalf, Half, AboveHalf } fraction = Fraction::Zero;
  const QString point = locale.decimalPoint();
  if (!point.isEmpty() && QStringView(s).mid(i).startsWith(point)) {
    i += point.size();
    const qsizetype first = i;
    for (; i < s.size() && IsAsciiDigit(s[i]); ++i, ++digits) {
      const char16_t d = s[i].unicode();
      if (i == first) {
        fraction = d > u'5'    ? Fraction::AboveHalf
                   : d == u'5' ? Fraction::Half
                   : d > u'0'  ? Fraction::BelowHalf
                               : Fraction::Zero;
      } else if (d != u'0') {
        if (fraction == Fraction::Half) fraction = Fraction::AboveHalf;
        if (fraction == Fraction::Zero) fraction = Fraction::BelowHalf;
      }
    }
  }
  if (digits == 0 || i != s.size()) return std::nullopt;

  if (fraction == Fraction::AboveHalf || (fraction == Fraction::Half && whole % 2 == 1)) ++whole;
  const std::uint64_t limit = negative ? std::uint64_t{1} << 31 : (std::uint64_t{1} << 31) - 1;
  if (whole > limit) return std::nullopt;
  return static_cast<std::int32_t>(negative ? -std::int64_t(whole) : std::int64_t(whole));
}

}  // namespace fotavel
