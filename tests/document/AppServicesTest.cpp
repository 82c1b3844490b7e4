// Where the settings live: beside the program when it can write there, else with the user's
// configuration, and always there for an installed program unless a param folder was put beside
// it on purpose.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "DocumentFixture.h"
#include "document/AppServices.h"
#include "support/ScopedEnv.h"

namespace fotavel::testing {
namespace {

TEST(ParamFolder, BesideTheProgramWhenWritableElseWithTheUsersConfiguration) {
  QTemporaryDir root;
  ASSERT_TRUE(QDir(root.path()).mkdir("config"));
  const ScopedEnv xdg("XDG_CONFIG_HOME", QFile::encodeName(root.filePath("config")));
  const QString program = root.filePath("program"), config = root.filePath("config/fotavel/param");
  ASSERT_TRUE(QDir().mkpath(program));
  EXPECT_EQ(ResolveParamFolder(program), program + "/param");
  EXPECT_TRUE(QFileInfo(program + "/param").isDir());
  EXPECT_FALSE(QFileInfo::exists(config));
  // Permissions do not stop root: the program folder is made unusable by being a file.
  const QString file = root.filePath("program-file");
  WriteFile(file, "x");
  EXPECT_EQ(ResolveParamFolder(file), config);
  EXPECT_TRUE(QFileInfo(config).isDir());

  // Installed under a prefix the user may write to: still nothing beside it.
  const QString bin = root.filePath("prefix/bin");
  ASSERT_TRUE(QDir().mkpath(bin));
  EXPECT_FALSE(InstalledProgramFolder(program));
  EXPECT_FALSE(InstalledProgramFolder(root.filePath("prefix/bin-copie")));
  EXPECT_EQ(AppServices(bin).ParamFolder(), config);
  EXPECT_FALSE(QFileInfo::exists(bin + "/param"));
  // A param folder someone put beside it on purpose makes the copy portable.
  ASSERT_TRUE(QDir().mkpath(bin + "/param"));
  EXPECT_EQ(ResolveParamFolder(bin), bin + "/param");
}

}  // namespace
}  // namespace fotavel::testing
