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

// What `work` returns, run on a thread of its own. A reader that opens the
// FIFO at `fifo` the blocking way waits there for a writer that never comes:
// should the work still run after a long while, the FIFO is opened for
// writing and closed again until the work ends (its reader then meets the end
// of the file), and the test fails instead of hanging.
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
