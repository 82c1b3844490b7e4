// The application services: settings lookup, param folder, temporary files, numbering.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <system_error>

#include "DocumentFixture.h"
#include "document/AppServices.h"
#include "support/ScopedEnv.h"

namespace fotavel {
namespace {

using testing::WriteFile;

TEST(SettingsFileTest, LookupRules) {
  QTemporaryDir dir;
  AppServices services{QString()};
  services.SetParamFolder(dir.path());
  EXPECT_TRUE(services.LireParamIni("Tll").isEmpty());  // no file
  // Each case: file content, key, value read (read again on every call).
  const char* const cases[][3] = {
      {"Ext=png;\r\nDstX=50;\r\nDstY=75;\r\nTll=30;\r\nTrs=20;\r\nAgl=-15;\r\n", "Agl", "-15"},
      {"Ext=png;\r\nDstX=50;\r\nTll=30;\r\n", "Largeur", ""},
      {"Ext=png;\r\nTll=30;\r\n", "tll", ""},  // keys compare with their case
      {"Ext=;\r\n", "Ext", ""},
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

// Points XDG_CONFIG_HOME at a temporary folder for the life of the test.
class ParamFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(QDir(root.path()).mkdir("config"));
    ASSERT_TRUE(QDir().mkpath(program));
  }

  QTemporaryDir root;
  testing::ScopedEnv xdg{"XDG_CONFIG_HOME", QFile::encodeName(root.filePath("config"))};
  QString program = root.filePath("program");
  QString config = root.filePath("config/fotavel/param");
};

TEST_F(ParamFolderTest, BesideTheProgramWhenWritableElseConfiguration) {
  EXPECT_EQ(ResolveParamFolder(program), program + "/param");
  EXPECT_TRUE(QFileInfo(program + "/param").isDir());
  EXPECT_EQ(ResolveParamFolder(program + "/"), program + "/param");  // existing one reused
  EXPECT_FALSE(QFileInfo::exists(config));
  // Permissions do not stop root: the program folder is made unusable by being a
  // file, or lying under one.
  const QString file = root.filePath("program-file");
  WriteFile(file, "x");
  EXPECT_EQ(ResolveParamFolder(file), config);
  EXPECT_TRUE(QFileInfo(config).isDir());
  EXPECT_EQ(ResolveParamFolder(file + "/bin"), config);
  EXPECT_FALSE(QFileInfo::exists(file + "/param"));
  EXPECT_EQ(AppServices(file).ParamFolder(), config);
  AppServices services(program);
  EXPECT_EQ(services.ParamFolder(), program + "/param");
  services.SetParamFolder(root.filePath("elsewhere"));
  EXPECT_EQ(services.ParamFolder(), root.filePath("elsewhere"));
  // A param that is a file is no folder either.
  const QString other = root.filePath("other");
  ASSERT_TRUE(QDir().mkpath(other));
  WriteFile(other + "/param", "x");
  EXPECT_EQ(ResolveParamFolder(other), config);
}

TEST_F(ParamFolderTest, AnInstalledProgramKeepsItsSettingsWithTheUsersConfiguration) {
  // Installed under a prefix the user may write to: still nothing beside it.
  const QString bin = root.filePath("prefix/bin");
  ASSERT_TRUE(QDir().mkpath(bin));
  EXPECT_TRUE(InstalledProgramFolder(bin + "/"));
  EXPECT_FALSE(InstalledProgramFolder(program));
  EXPECT_FALSE(InstalledProgramFolder(root.filePath("prefix/bin-copie")));
  EXPECT_EQ(AppServices(bin).ParamFolder(), config);
  EXPECT_TRUE(QFileInfo(config).isDir());  // made on first need
  EXPECT_FALSE(QFileInfo::exists(bin + "/param"));

  // A param folder someone put beside it on purpose makes the copy portable.
  ASSERT_TRUE(QDir().mkpath(bin + "/param"));
  EXPECT_EQ(ResolveParamFolder(bin), bin + "/param");
}

TEST(TempFilesTest, DistinctEmptyFilesStartingWithThePrefix) {
  QTemporaryDir dir;
  AppServices services{QString()};
  EXPECT_TRUE(services.TempDir().endsWith('/'));
  EXPECT_EQ(QDir(services.TempDir()).canonicalPath(), QDir(QDir::tempPath()).canonicalPath());
  const QString first = services.TempFileName("VBIM", dir.path());
  const QString second = services.TempFileName("VBIM", dir.path());
  EXPECT_NE(first, second);
  for (const QString& name : {first, second}) {
    const QFileInfo info(name);
    EXPECT_TRUE(info.isFile() && info.size() == 0) << name.toStdString();
    EXPECT_EQ(info.absolutePath(), QDir(dir.path()).absolutePath());
    EXPECT_TRUE(info.fileName().startsWith("VBIM")) << name.toStdString();
  }
  const QString inTemp = services.TempFileName("VBIM");  // no folder: the temporary one
  EXPECT_TRUE(inTemp.startsWith(services.TempDir() + "VBIM")) << inTemp.toStdString();
  EXPECT_TRUE(QFile::remove(inTemp));
  try {
    services.TempFileName("VBIM", dir.filePath("absent"));
    ADD_FAILURE() << "no error raised";
  } catch (const std::system_error& error) {
    EXPECT_EQ(error.code().value(), ENOENT);
    EXPECT_STREQ(error.what(), std::strerror(ENOENT));
  }
  // New pictures are numbered from one, per services.
  EXPECT_EQ(services.NewImageIndex(), 1);
  EXPECT_EQ(services.NewImageIndex(), 2);
  EXPECT_EQ(AppServices{QString()}.NewImageIndex(), 1);
}

}  // namespace
}  // namespace fotavel
