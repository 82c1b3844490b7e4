// File names as Linux holds them (bytes) and as Qt's strings hold them (UTF-16), one to one.
#include "io/FileNames.h"

#include <cstdint>

namespace fotavel::io {

namespace {

constexpr char16_t kEscapeBase = 0xDC00;

// The length of the valid UTF-8 sequence starting at `p` (at most `left`
// bytes), and its code point; 0 when the bytes there are no valid sequence:
// a stray continuation byte, a cut sequence, an overlong form, a surrogate or
// a value past U+10FFFF.
int ValidSequence(const unsigned char* p, qsizetype left, char32_t& code) {
  const unsigned char lead = p[0];
  int length = 0;
  char32_t minimum = 0;
  if (lead < 0x80) {
    code = lead;
    return 1;
  }
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    code = lead & 0x1F;
    minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    code = lead & 0x0F;
    minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    code = lead & 0x07;
    minimum = 0x10000;
  } else {
    return 0;
  }
  if (left < length) return 0;
  for (int i = 1; i < length; ++i) {
    if ((p[i] & 0xC0) != 0x80) return 0;
    code = code << 6 | (p[i] & 0x3F);
  }
  if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

}  // namespace

QString NameFromNative(const QByteArray& bytes) {
  QString name;
  name.reserve(bytes.size());
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
  const qsizetype size = bytes.size();
  for (qsizetype at = 0; at < size;) {
    char32_t code = 0;
    const int length = ValidSequence(p + at, size - at, code);
    if (length == 0) {
      name += QChar(char16_t(kEscapeBase + p[at]));
      ++at;
      continue;
    }
    if (code >= 0x10000) {
      name += QChar(QChar::highSurrogate(code));
      name += QChar(QChar::lowSurrogate(code));
    } else {
      name += QChar(char16_t(code));
    }
    at += length;
  }
  return name;
}

QByteArray NativeName(const QString& name) {
  QByteArray bytes;
  bytes.reserve(name.size());
  const qsizetype size = name.size();
  for (qsizetype at = 0; at < size;) {
    // Runs without escaped bytes go through Qt's own encoder (a lone
    // surrogate that is no escape becomes U+FFFD there, as it would anyway).
    qsizetype end = at;
    while (end < size && !(name[end].unicode() >= kEscapeBase + 0x80 &&
                           name[end].unicode() <= kEscapeBase + 0xFF &&
                           (end == 0 || !name[end - 1].isHighSurrogate()))) {
      ++end;
    }
    bytes += QStringView(name).sliced(at, end - at).toUtf8();
    if (end < size) bytes += char(name[end].unicode() - kEscapeBase);
    at = end + 1;
  }
  return bytes;
}

QStringList ArgumentsFromNative(int argc, const char* const* argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << NameFromNative(QByteArray(argv[i]));
  return arguments;
}

}  // namespace fotavel::io
