// File names that are not UTF-8 survive the trip through the program's strings.
#include <gtest/gtest.h>

#include "io/FileNames.h"

namespace fotavel::io {
namespace {

TEST(FileNames, EveryByteRunComesBackAsItWas) {
  const QByteArray names[] = {
      QByteArray("photo.jpg"),
      QByteArray("\xc3\xa9t\xc3\xa9 \xf0\x9f\x93\xb7.jpg"),  // valid UTF-8, 4-byte sequence
      QByteArray("caf\xe9.jpg"),                             // Latin-1
      QByteArray("\xff\xfe\x80"),                            // bytes UTF-8 never holds
      QByteArray("\xc0\xaf"),                                // overlong '/'
      QByteArray("\xed\xb2\x80"),                            // an encoded surrogate
      QByteArray("\xf4\x90\x80\x80"),                        // past U+10FFFF
      QByteArray("\xe2\x82"),                                // a cut sequence at the end
  };
  for (const QByteArray& bytes : names) {
    EXPECT_EQ(NativeName(NameFromNative(bytes)), bytes) << bytes.toHex().constData();
  }
}

TEST(FileNames, ValidUtf8ReadsAsQtReadsIt) {
  const QByteArray bytes("\xc3\xa9t\xc3\xa9 \xf0\x9f\x93\xb7.jpg");
  EXPECT_EQ(NameFromNative(bytes), QString::fromUtf8(bytes));
  EXPECT_EQ(NativeName(QStringLiteral("été.jpg")), QStringLiteral("été.jpg").toUtf8());
}

TEST(FileNames, InvalidBytesBecomeOneEscapeEach) {
  const QString name = NameFromNative(QByteArray("a\xe9\xc3z"));
  ASSERT_EQ(name.size(), 4);
  EXPECT_EQ(name[1].unicode(), 0xDCE9);
  EXPECT_EQ(name[2].unicode(), 0xDCC3);
  EXPECT_EQ(name[3], QLatin1Char('z'));
}

TEST(FileNames, ArgumentsKeepTheirBytes) {
  const char* argv[] = {"fotavel-batch", "-o", "sortie-\xe9.jpg"};
  const QStringList arguments = ArgumentsFromNative(3, argv);
  ASSERT_EQ(arguments.size(), 3);
  EXPECT_EQ(NativeName(arguments[2]), QByteArray("sortie-\xe9.jpg"));
}

}  // namespace
}  // namespace fotavel::io
