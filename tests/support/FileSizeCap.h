// Caps the size of files the test process may write, as a full disk would, for as long as it lives.
#pragma once

#include <sys/resource.h>

#include <csignal>

namespace fotavel::testing {

// Root writes anywhere, so an unwritable folder cannot stand for every
// failed write; a full disk can.
class FileSizeCap {
 public:
  explicit FileSizeCap(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &previous_);
    // Past the cap the kernel would also kill the process with SIGXFSZ.
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit capped = previous_;
    capped.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &capped);
  }
  ~FileSizeCap() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousHandler_);
  }
  FileSizeCap(const FileSizeCap&) = delete;
  FileSizeCap& operator=(const FileSizeCap&) = delete;

 private:
  rlimit previous_{};
  void (*previousHandler_)(int) = nullptr;
};

}  // namespace fotavel::testing
