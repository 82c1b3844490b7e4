// File names that are not UTF-8 survive the trip through the program's strings.
#include <gtest/gtest.h>

#include "io/FileNames.h"

namespace fotavel::io {
namespace {

// Any run of bytes comes back as it was. Valid UTF-8 reads as Qt reads it; each byte that is not
// becomes an escape of its own (U+DC00 plus the byte), which no valid name holds.
TEST(FileNames, EveryByteRunComesBackAsItWasAndUtf8ReadsAsQtReadsIt) {
  const QByteArray names[] = {
      QByteArray("\xc3\xa9t\xc3\xa9 \xf0\x9f\x93\xb7.jpg"),  // valid UTF-8, 4-byte sequence
      QByteArray("caf\xe9.jpg"),                             // Latin-1
      QByteArray("\xff\xfe\x80"),                            // bytes UTF-8 never holds
      QByteArray("\xe0\x80\xaf"),                            // overlong '/'
      QByteArray("\xed\xb2\x80"),                            // an encoded surrogate
      QByteArray("\xf4\x90\x80\x80"),                        // past U+10FFFF
      QByteArray("\xe2\x82"),                                // a cut sequence at the end
  };
  for (const QByteArray& bytes : names) {
    EXPECT_EQ(NativeName(NameFromNative(bytes)), bytes) << bytes.toHex().constData();
  }
  EXPECT_EQ(NameFromNative(names[0]), QString::fromUtf8(names[0]));
  EXPECT_EQ(NameFromNative("a\xe9\xc3z"), QStringView(u"a\xDCE9\xDCC3z").toString());
}

}  // namespace
}  // namespace fotavel::io
