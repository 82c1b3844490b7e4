// The machine-code versions of the hot loops, and the one place that chooses among them.
//
// The build targets generic x86-64. The hot loops are also compiled for AVX2
// (a few for AVX-512 too) from the same source, and every pass takes its
// version from Versioned<Body>::Pick or PickVersion, which run the highest
// version this processor executes. The variable FOTAVEL_CPU ("baseline",
// "avx2", "avx512"), read once, holds the whole program at or below the
// version it names, so the bit-exact tests can run every version a test
// machine executes, not only its best.
#pragma once

#include <optional>
#include <string_view>

namespace fotavel {

enum class CpuVersion : int { kBaseline = 0, kAvx2 = 1, kAvx512 = 2 };

// The highest version this processor executes.
CpuVersion ProcessorVersion() noexcept;

// The version FOTAVEL_CPU names (nullopt when the text is none of the three).
std::optional<CpuVersion> ParseCpuVersion(std::string_view text) noexcept;

// The version the passes run: the processor's, or the lower one FOTAVEL_CPU
// names. The variable is read at the first call; an unknown name is ignored.
CpuVersion ChosenVersion() noexcept;

// The highest of the given versions that is not above the chosen one; a null
// pointer stands for a version the pass does not have.
template <class Fn>
Fn PickVersion(Fn baseline, Fn avx2, Fn avx512 = nullptr) noexcept {
  const CpuVersion chosen = ChosenVersion();
  if (avx512 != nullptr && chosen >= CpuVersion::kAvx512) return avx512;
  if (avx2 != nullptr && chosen >= CpuVersion::kAvx2) return avx2;
  return baseline;
}

// Versioned<Body>::Pick<Top>() is Body compiled for the chosen version, up to
// Top. Body is declared [[gnu::always_inline]], so each version below is the
// whole body compiled for its own target, the loops vectorised for it.
template <auto Body>
struct Versioned;

template <class R, class... A, R (*Body)(A...)>
struct Versioned<Body> {
  using Fn = R (*)(A...);

  static R Baseline(A... a) { return Body(a...); }
#if defined(__x86_64__)
  [[gnu::target("avx2")]] static R Avx2(A... a) { return Body(a...); }
  [[gnu::target("arch=x86-64-v4")]] static R Avx512(A... a) { return Body(a...); }
#endif

  template <CpuVersion Top = CpuVersion::kAvx2>
  static Fn Pick() noexcept {
#if defined(__x86_64__)
    if constexpr (Top == CpuVersion::kAvx512) return PickVersion<Fn>(Baseline, Avx2, Avx512);
    return PickVersion<Fn>(Baseline, Avx2);
#else
    return Baseline;
#endif
  }
};

// Body's version V itself, for a pass built of several versioned steps that
// picks once for the whole (the steps then call each other directly).
template <CpuVersion V, auto Body>
constexpr auto VersionOf() noexcept {
#if defined(__x86_64__)
  if constexpr (V == CpuVersion::kAvx512) return Versioned<Body>::Avx512;
  if constexpr (V == CpuVersion::kAvx2) return Versioned<Body>::Avx2;
#endif
  return Versioned<Body>::Baseline;
}

}  // namespace fotavel
