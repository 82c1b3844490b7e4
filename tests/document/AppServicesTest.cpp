// Where the settings live: beside the program when it can write there, else with the user's
// configuration, and always there for an installed program unless a param folder was put beside
// it on purpose.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>

#include "DocumentFixture.h"
#include "document/AppServices.h"
#include "document/LogoFiles.h"
#include "io/FileSystemCalls.h"
#include "support/ScopedEnv.h"
#include "support/SpecialFiles.h"

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

// What the param folder keeps fails as a settings failure, saying which file and from where.
TEST(SettingsFiles, WhatCannotBeStoredFailsAsASettingsFailure) {
  QTemporaryDir root;
  AppServices services(root.path());
  const QString param = root.filePath("param"), absent = root.filePath("absent.png");
  services.SetParamFolder(param);
  const QList<std::pair<QString, QString>> settings = {{"Ext", "png"}, {"Tll", "10"}};
  // A file where the folder should be: nothing can be made below it, root included.
  WriteFile(param, "x");
  const io::FileError unwritten = FileFailure([&] { services.EcrireParamIni(settings); });
  const io::FileError noFolder = FileFailure([&] { LogoFiles::Store(services, {}, "png", {}); });
  ASSERT_TRUE(QFile::remove(param));
  const io::FileError unread =
      FileFailure([&] { LogoFiles::Store(services, absent, "png", settings); });
  // A FIFO would hold the open until a writer came.
  const QString fifo = root.filePath("tube.png");
  ASSERT_TRUE(MakeFifo(fifo));
  const io::FileError fromFifo = WithoutHanging(fifo, [&] {
    return FileFailure([&] { LogoFiles::Store(services, fifo, "png", settings); });
  });
  EXPECT_EQ(QDir(param).entryList(QDir::Files), QStringList());

  const struct {
    const io::FileError& failure;
    QString text, path;
    const char* module;
  } cases[] = {
      {unwritten,
       "Impossible d'enregistrer les réglages du logo dans :\r\n" + param + "/fotavel.ini",
       param + "/fotavel.ini", "AppServices"},
      {noFolder, "Impossible de créer le dossier des paramètres :\r\n" + param, param, "LogoFiles"},
      {unread, "Impossible de lire le fichier :\r\n" + absent, absent, "LogoFiles"},
      {fromFifo, "Impossible de lire le fichier :\r\n" + fifo, fifo, "LogoFiles"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.failure.text(), c.text);
    EXPECT_EQ(c.failure.path(), c.path);
    EXPECT_EQ(c.failure.number(), io::FileErrors::kSettings);
    EXPECT_EQ(c.failure.source(), ProgramName() + '.' + c.module);
  }
}

// The disk fails the flush of file data numbered `failAt` (from 1), and lets the others through.
int flushes = 0, failAt = 0;
int FailingFlush(int fd) {
  if (++flushes == failAt) return errno = EIO, -1;
  return ::fdatasync(fd);
}

// Whichever flush fails, the logo's copy (flushed first) or the settings (written before the logo
// takes its name), the settings and the logo stay as they were.
TEST(SettingsFiles, AFailedFlushLeavesTheSettingsAndTheLogoAsTheyWere) {
  QTemporaryDir root;
  AppServices services(root.path());
  const QString param = root.filePath("param"), chosen = root.filePath("chosen.png");
  const QString ini = param + "/fotavel.ini", logo = param + "/logo.png";
  services.SetParamFolder(param);
  ASSERT_TRUE(QDir().mkpath(param));
  WriteFile(ini, "Ext=png;\r\nTll=5;\r\n");
  WriteFile(logo, "old logo");
  WriteFile(chosen, "new logo");
  const QList<std::pair<QString, QString>> settings = {{"Ext", "png"}, {"Tll", "10"}};
  const io::detail::ScopedFileSystemCalls disk({.fdatasync = FailingFlush});
  for (failAt = 1; failAt <= 2; ++failAt) {
    flushes = 0;
    const io::FileError failure =
        FileFailure([&] { LogoFiles::Store(services, chosen, "png", settings); });
    EXPECT_EQ(failure.text(),
              failAt == 1 ? "Impossible d'enregistrer le logo dans le dossier :\r\n" + param
                          : "Impossible d'enregistrer les réglages du logo dans :\r\n" + ini);
    EXPECT_EQ(flushes, failAt);
    EXPECT_EQ(ReadBytes(ini), "Ext=png;\r\nTll=5;\r\n");
    EXPECT_EQ(ReadBytes(logo), "old logo");
    EXPECT_EQ(QDir(param).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              (QStringList{"fotavel.ini", "logo.png"}));
  }
  failAt = 0;
  ASSERT_NO_THROW(LogoFiles::Store(services, chosen, "png", settings));
  EXPECT_EQ(ReadBytes(ini), "Ext=png;\r\nTll=10;\r\n");
  EXPECT_EQ(ReadBytes(logo), "new logo");
}

// A settings file that is a FIFO would hold the open until a writer came: it reads as absent.
TEST(SettingsFiles, AFifoIsNotWaitedOn) {
  QTemporaryDir root;
  AppServices services(root.path());
  services.SetParamFolder(root.path());
  const QString settings = root.filePath("fotavel.ini");
  ASSERT_TRUE(MakeFifo(settings));
  EXPECT_EQ(WithoutHanging(settings, [&] { return services.LireParamIni("Ext"); }), QString());
}

}  // namespace
}  // namespace fotavel::testing
