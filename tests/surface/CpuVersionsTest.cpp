// The passes run the machine-code version FOTAVEL_CPU holds them to: what makes
// the runs of these tests per version test what they say.
#include <gtest/gtest.h>

#include <cstdlib>

#include "surface/CpuVersions.h"

namespace fotavel {
namespace {

[[gnu::always_inline]] inline int Twice(int v) { return 2 * v; }

TEST(CpuVersions, PassesRunTheVersionAskedFor) {
  const char* asked = std::getenv("FOTAVEL_CPU");
  // The test main has refused a misspelt name and skipped one above the processor.
  const CpuVersion expected =
      asked != nullptr && *asked != '\0' ? *ParseCpuVersion(asked) : ProcessorVersion();
  ASSERT_EQ(ChosenVersion(), expected);

  using Fn = int (*)();
  const Fn baseline = [] { return 0; };
  const Fn avx2 = [] { return 1; };
  const Fn avx512 = [] { return 2; };
  EXPECT_EQ(PickVersion(baseline, avx2, avx512)(), static_cast<int>(expected));
  // A pass without the version asked for runs the next one down.
  EXPECT_EQ(PickVersion(baseline, avx2)(), std::min(static_cast<int>(expected), 1));
  EXPECT_EQ(PickVersion<Fn>(baseline, nullptr, avx512)(), expected == CpuVersion::kAvx512 ? 2 : 0);

  const auto twice = Versioned<Twice>::Pick<CpuVersion::kAvx512>();
  EXPECT_EQ(twice(21), 42);
  const decltype(twice) versions[] = {VersionOf<CpuVersion::kBaseline, Twice>(),
                                      VersionOf<CpuVersion::kAvx2, Twice>(),
                                      VersionOf<CpuVersion::kAvx512, Twice>()};
  EXPECT_EQ(twice, versions[static_cast<int>(expected)]);
}

}  // namespace
}  // namespace fotavel
