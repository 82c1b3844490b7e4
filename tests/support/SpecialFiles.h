// FIFOs made by the tests, and a guard that keeps a read stuck on one from hanging the test run.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QString>
#include <chrono>
#include <future>
#include <utility>

namespace fotavel::testing {

// Makes a FIFO at `path`; false (and a test failure) when the system cannot.
inline bool MakeFifo(const QString& path) {
  const bool made = ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
  EXPECT_TRUE(made) << "mkfifo " << path.toStdString();
  return made;
}

// What `work` returns, run on a thread of its own. Should it still wait after a
// long while (a blocking open of the FIFO at `fifo` waits for a writer), the
// test fails and writers come and go until the reader meets the end of the file.
template <class Work>
auto WithoutHanging(const QString& fifo, Work&& work) {
  auto running = std::async(std::launch::async, std::forward<Work>(work));
  if (running.wait_for(std::chrono::seconds(30)) != std::future_status::ready) {
    ADD_FAILURE() << "still waiting on " << fifo.toStdString();
    do {
      const int writer = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
      if (writer >= 0) ::close(writer);
    } while (running.wait_for(std::chrono::milliseconds(100)) != std::future_status::ready);
  }
  return running.get();
}

}  // namespace fotavel::testing
