#include "engine/MemoryBudget.h"

#include <sys/resource.h>

#include <gtest/gtest.h>

namespace vorel {
namespace {

TEST(MemoryBudget, ParsesTheSystemFiles) {
  EXPECT_EQ(ParseMemAvailable("MemTotal:       24000000 kB\nMemFree:  100 kB\nMemAvailable:   2000 kB\n"),
            std::optional<std::uint64_t>(2000 * 1024));
  EXPECT_EQ(ParseMemAvailable("MemTotal: 1 kB\n"), std::nullopt);
  EXPECT_EQ(ParseMemAvailable("MemAvailable: lots\n"), std::nullopt);
  EXPECT_EQ(ParseCgroupLimit("1073741824\n"), std::optional<std::uint64_t>(1073741824));
  EXPECT_EQ(ParseCgroupLimit("max\n"), std::nullopt);
  EXPECT_EQ(ParseCgroupLimit("9223372036854771712\n"), std::nullopt);  // v1 "no limit"
}

TEST(MemoryBudget, TheSmallestKnownLimitHolds) {
  MemoryLimits limits;
  EXPECT_EQ(AvailableMemoryBytes(limits), std::nullopt);
  limits.machineAvailable = 8000;
  EXPECT_EQ(AvailableMemoryBytes(limits), std::optional<std::uint64_t>(8000));
  limits.cgroupRemaining = 5000;
  limits.addressSpaceLeft = 7000;
  EXPECT_EQ(AvailableMemoryBytes(limits), std::optional<std::uint64_t>(5000));
  limits.addressSpaceLeft = 100;
  EXPECT_EQ(AvailableMemoryBytes(limits), std::optional<std::uint64_t>(100));
}

TEST(MemoryBudget, TheAddressSpaceLimitOfTheProcessCounts) {
  rlimit old{};
  ASSERT_EQ(::getrlimit(RLIMIT_AS, &old), 0);
  if (old.rlim_max != RLIM_INFINITY && old.rlim_max < (rlim_t{64} << 40)) GTEST_SKIP() << "hard limit set";
  rlimit lowered = old;
  lowered.rlim_cur = rlim_t{64} << 40;  // 64 TiB: far above use, far below "unlimited"
  ASSERT_EQ(::setrlimit(RLIMIT_AS, &lowered), 0);
  const MemoryLimits limits = ReadMemoryLimits();
  ::setrlimit(RLIMIT_AS, &old);
  ASSERT_TRUE(limits.addressSpaceLeft.has_value());
  EXPECT_LT(*limits.addressSpaceLeft, std::uint64_t{64} << 40);
  EXPECT_GT(*limits.addressSpaceLeft, 0u);  // sanitizers reserve terabytes of it, so no closer bound
  EXPECT_TRUE(limits.machineAvailable.has_value());
}

}  // namespace
}  // namespace vorel
