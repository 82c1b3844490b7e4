// Tests of the application services: settings lookup, param folder, temporary files, numbering.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <system_error>

#include "document/AppServices.h"

namespace fotavel {
namespace {

// The six entries as the logo dialog writes them.
constexpr char kDialogFile[] =
    "Ext=png;\r\nDstX=50;\r\nDstY=75;\r\nTll=30;\r\nTrs=20;\r\nAgl=-15;\r\n";

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
  ASSERT_EQ(file.write(bytes), bytes.size());
}

class SettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    services.SetParamFolder(dir.path());
  }
  void WriteIni(const QByteArray& bytes) { WriteFile(dir.filePath("fotavel.ini"), bytes); }

  QTemporaryDir dir;
  AppServices services{QString()};
};

TEST_F(SettingsFileTest, ReadsEachKeyOfTheDialogsFile) {
  WriteIni(kDialogFile);
  EXPECT_EQ(services.LireParamIni("Tll"), "30");
  EXPECT_EQ(services.LireParamIni("Ext"), "png");
  EXPECT_EQ(services.LireParamIni("DstX"), "50");
  EXPECT_EQ(services.LireParamIni("DstY"), "75");
  EXPECT_EQ(services.LireParamIni("Trs"), "20");
  EXPECT_EQ(services.LireParamIni("Agl"), "-15");
}

TEST_F(SettingsFileTest, AbsentFileAndAbsentKeyReadEmpty) {
  EXPECT_TRUE(services.LireParamIni("Tll").isEmpty());
  WriteIni(kDialogFile);
  EXPECT_TRUE(services.LireParamIni("Largeur").isEmpty());
  // Keys compare with their case.
  EXPECT_TRUE(services.LireParamIni("tll").isEmpty());
  WriteIni("Ext=;\r\n");
  EXPECT_TRUE(services.LireParamIni("Ext").isEmpty());
}

TEST_F(SettingsFileTest, FirstOccurrenceAnywhereWins) {
  // The key is found inside another key and in the middle of a line.
  WriteIni("XTll=5;\r\nTll=30;\r\n");
  EXPECT_EQ(services.LireParamIni("Tll"), "5");
  WriteIni("Ext=jpg; DstX=12;\r\nDstX=40;\r\n");
  EXPECT_EQ(services.LireParamIni("DstX"), "12");
  // The value runs to the semicolon, across line ends, or to the end of the file.
  WriteIni("Ext=p\r\nng;");
  EXPECT_EQ(services.LireParamIni("Ext"), "p\r\nng");
  WriteIni("Tll=30");
  EXPECT_EQ(services.LireParamIni("Tll"), "30");
}

TEST_F(SettingsFileTest, FileIsLatin1Text) {
  WriteIni("Ext=\xE9t\xE9;");
  EXPECT_EQ(services.LireParamIni("Ext"), QString::fromUtf8("\xC3\xA9t\xC3\xA9"));
}

TEST_F(SettingsFileTest, FileIsReadAgainOnEveryCall) {
  WriteIni("Tll=30;");
  EXPECT_EQ(services.LireParamIni("Tll"), "30");
  WriteIni("Tll=45;");
  EXPECT_EQ(services.LireParamIni("Tll"), "45");
}

// Points XDG_CONFIG_HOME at a temporary folder for the life of the test.
class ParamFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(root.isValid());
    saved = qgetenv("XDG_CONFIG_HOME");
    hadSaved = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    ASSERT_TRUE(QDir(root.path()).mkdir("config"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(root.filePath("config")));
  }
  void TearDown() override {
    if (hadSaved) {
      qputenv("XDG_CONFIG_HOME", saved);
    } else {
      qunsetenv("XDG_CONFIG_HOME");
    }
  }
  QString ConfigParam() const { return root.filePath("config/fotavel/param"); }

  QTemporaryDir root;
  QByteArray saved;
  bool hadSaved = false;
};

TEST_F(ParamFolderTest, WritableProgramFolderKeepsParamBesideTheProgram) {
  const QString program = root.filePath("program");
  ASSERT_TRUE(QDir().mkpath(program));
  EXPECT_EQ(ResolveParamFolder(program), program + "/param");
  EXPECT_TRUE(QFileInfo(program + "/param").isDir());
  // An existing param folder is used as it is.
  EXPECT_EQ(ResolveParamFolder(program + "/"), program + "/param");
  EXPECT_FALSE(QFileInfo::exists(ConfigParam()));
}

TEST_F(ParamFolderTest, ProgramFolderThatCannotHoldParamFallsBackToConfiguration) {
  // Permissions do not stop root, so the program folder is made unusable by
  // being a file, or lying under one.
  const QString file = root.filePath("program-file");
  WriteFile(file, "x");
  EXPECT_EQ(ResolveParamFolder(file), ConfigParam());
  EXPECT_TRUE(QFileInfo(ConfigParam()).isDir());
  EXPECT_EQ(ResolveParamFolder(file + "/bin"), ConfigParam());
  EXPECT_FALSE(QFileInfo::exists(file + "/param"));
  // A param that is a file is no folder either.
  const QString program = root.filePath("program");
  ASSERT_TRUE(QDir().mkpath(program));
  WriteFile(program + "/param", "x");
  EXPECT_EQ(ResolveParamFolder(program), ConfigParam());
}

TEST_F(ParamFolderTest, ServicesUseTheOverrideElseTheResolvedFolder) {
  const QString program = root.filePath("program");
  ASSERT_TRUE(QDir().mkpath(program));
  AppServices services(program);
  EXPECT_EQ(services.ParamFolder(), program + "/param");
  services.SetParamFolder(root.filePath("elsewhere"));
  EXPECT_EQ(services.ParamFolder(), root.filePath("elsewhere"));
  WriteFile(root.filePath("program-file"), "x");
  AppServices installed(root.filePath("program-file"));
  EXPECT_EQ(installed.ParamFolder(), ConfigParam());
}

TEST(TempFilesTest, TempDirEndsWithSeparator) {
  const AppServices services{QString()};
  EXPECT_TRUE(services.TempDir().endsWith('/'));
  EXPECT_EQ(QDir(services.TempDir()).canonicalPath(), QDir(QDir::tempPath()).canonicalPath());
}

TEST(TempFilesTest, CreatesDistinctEmptyFilesStartingWithThePrefix) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const AppServices services{QString()};
  const QString first = services.TempFileName("VBIM", dir.path());
  const QString second = services.TempFileName("VBIM", dir.path());
  EXPECT_NE(first, second);
  for (const QString& name : {first, second}) {
    const QFileInfo info(name);
    EXPECT_TRUE(info.isFile()) << name.toStdString();
    EXPECT_EQ(info.size(), 0);
    EXPECT_EQ(info.absolutePath(), QDir(dir.path()).absolutePath());
    EXPECT_TRUE(info.fileName().startsWith("VBIM")) << name.toStdString();
  }
  // No folder means the temporary folder.
  const QString inTemp = services.TempFileName("VBIM");
  EXPECT_TRUE(inTemp.startsWith(services.TempDir() + "VBIM")) << inTemp.toStdString();
  EXPECT_TRUE(QFile::remove(inTemp));
}

TEST(TempFilesTest, MissingFolderThrowsTheSystemError) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const AppServices services{QString()};
  try {
    services.TempFileName("VBIM", dir.filePath("absent"));
    ADD_FAILURE() << "no error raised";
  } catch (const std::system_error& error) {
    EXPECT_EQ(error.code().value(), ENOENT);
    EXPECT_STREQ(error.what(), std::strerror(ENOENT));
  }
}

TEST(NewImageIndexTest, CountsFromOnePerServices) {
  AppServices services{QString()};
  EXPECT_EQ(services.NewImageIndex(), 1);
  EXPECT_EQ(services.NewImageIndex(), 2);
  EXPECT_EQ(services.NewImageIndex(), 3);
  AppServices other{QString()};
  EXPECT_EQ(other.NewImageIndex(), 1);
}

}  // namespace
}  // namespace fotavel
