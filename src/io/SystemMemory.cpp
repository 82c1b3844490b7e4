// What memory the machine has for pictures, read from /proc/meminfo.
#include "io/SystemMemory.h"

#include <fstream>
#include <sstream>
#include <string>

namespace fotavel::io {

std::uint64_t AvailableMemoryBytes() {
  std::ifstream meminfo("/proc/meminfo");
  std::string line;
  while (std::getline(meminfo, line)) {
    if (line.rfind("MemAvailable:", 0) == 0) {
      std::istringstream fields(line.substr(13));
      std::uint64_t kilobytes = 0;
      if (fields >> kilobytes) return kilobytes * 1024;
    }
  }
  return 0;
}

}  // namespace fotavel::io
