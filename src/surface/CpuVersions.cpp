#include "surface/CpuVersions.h"

#include <algorithm>
#include <cstdlib>

namespace fotavel {

CpuVersion ProcessorVersion() noexcept {
#if defined(__x86_64__)
  // The AVX-512 versions are compiled for x86-64-v4, which also takes the
  // AVX2-era extensions; feature by feature, as not every compiler knows the
  // level's name here.
  const bool avx2 = __builtin_cpu_supports("avx2");
  const bool v4 = avx2 && __builtin_cpu_supports("fma") && __builtin_cpu_supports("bmi2") &&
                  __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                  __builtin_cpu_supports("avx512cd") && __builtin_cpu_supports("avx512dq") &&
                  __builtin_cpu_supports("avx512vl");
  if (v4) return CpuVersion::kAvx512;
  if (avx2) return CpuVersion::kAvx2;
#endif
  return CpuVersion::kBaseline;
}

std::optional<CpuVersion> ParseCpuVersion(std::string_view text) noexcept {
  if (text == "baseline") return CpuVersion::kBaseline;
  if (text == "avx2") return CpuVersion::kAvx2;
  if (text == "avx512") return CpuVersion::kAvx512;
  return std::nullopt;
}

CpuVersion ChosenVersion() noexcept {
  static const CpuVersion chosen = [] {
    const CpuVersion processor = ProcessorVersion();
    const char* text = std::getenv("FOTAVEL_CPU");
    const std::optional<CpuVersion> asked = ParseCpuVersion(text != nullptr ? text : "");
    return asked ? std::min(*asked, processor) : processor;
  }();
  return chosen;
}

}  // namespace fotavel
