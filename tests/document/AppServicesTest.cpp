// The application services: settings lookup and the param folder.
#include <QDir>
#include <QFileInfo>

#include "DocumentFixture.h"
#include "support/ScopedEnv.h"

namespace fotavel::testing {
namespace {

TEST(SettingsFileTest, LookupRules) {
  QTemporaryDir dir;
  AppServices services{QString()};
  services.SetParamFolder(dir.path());
  EXPECT_TRUE(services.LireParamIni("Tll").isEmpty());  // no file
  // Each case: file content, key, value read (read again on every call).
  const char* const cases[][3] = {
      {"Ext=png;\r\nTll=30;\r\n", "tll", ""},               // keys compare with their case
      {"XTll=5;\r\nTll=30;\r\n", "Tll", "5"},               // first occurrence, even inside a key
      {"Ext=jpg; DstX=12;\r\nDstX=40;\r\n", "DstX", "12"},  // or mid-line
      {"Ext=p\r\nng;", "Ext", "p\r\nng"},                   // the value runs to the semicolon
      {"Tll=30", "Tll", "30"},                              // or to the end of the file
      {"Ext=\xE9t\xE9;", "Ext", "\xC3\xA9t\xC3\xA9"},       // the file is Latin-1
  };
  for (const auto& c : cases) {
    WriteFile(dir.filePath("fotavel.ini"), c[0]);
    EXPECT_EQ(services.LireParamIni(c[1]), QString::fromUtf8(c[2])) << c[0];
  }
}

// The settings live beside the program when that folder can take them, else, and always for an
// installed program, with the user's configuration (XDG_CONFIG_HOME points into the test).
TEST(ParamFolderTest, BesideAPortableProgramElseWithTheUsersConfiguration) {
  QTemporaryDir root;
  const ScopedEnv xdg("XDG_CONFIG_HOME", QFile::encodeName(root.filePath("config")));
  const QString config = root.filePath("config/fotavel/param");
  const QString program = root.filePath("program");
  ASSERT_TRUE(QDir().mkpath(program));
  EXPECT_EQ(AppServices(program).ParamFolder(), program + "/param");
  EXPECT_TRUE(QFileInfo(program + "/param").isDir());
  EXPECT_FALSE(QFileInfo::exists(config));
  // Permissions do not stop root: the program folder is made unusable by lying under a file.
  const QString file = root.filePath("program-file");
  WriteFile(file, "x");
  EXPECT_EQ(ResolveParamFolder(file + "/bin"), config);
  EXPECT_TRUE(QFileInfo(config).isDir());

  const QString bin = root.filePath("prefix/bin");
  ASSERT_TRUE(QDir().mkpath(bin));
  EXPECT_TRUE(InstalledProgramFolder(bin + "/"));
  EXPECT_FALSE(InstalledProgramFolder(root.filePath("prefix/bin-copie")));
  EXPECT_EQ(ResolveParamFolder(bin), config);
  EXPECT_FALSE(QFileInfo::exists(bin + "/param"));
  // A param folder someone put beside it on purpose makes the copy portable.
  ASSERT_TRUE(QDir().mkpath(bin + "/param"));
  EXPECT_EQ(ResolveParamFolder(bin), bin + "/param");
}

}  // namespace
}  // namespace fotavel::testing
