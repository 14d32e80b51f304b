#pragma once
// How much memory this process may still take: the smallest of what the
// machine has available, what the process's control group still allows and
// what its address-space limit leaves. Analyses and the data-file reader check
// their estimated footprint against it before allocating, because Eigen's
// storage is not exception-safe when an allocation fails half-way.

#include <cstdint>
#include <optional>
#include <string>

namespace vorel {

// The limits read from the system, each absent when it is not known or not set.
struct MemoryLimits {
  std::optional<std::uint64_t> machineAvailable;  // MemAvailable of /proc/meminfo
  std::optional<std::uint64_t> cgroupRemaining;   // control-group limit minus usage
  std::optional<std::uint64_t> addressSpaceLeft;  // RLIMIT_AS minus the current size
};

// Reads the limits of the running process (Linux: /proc and /sys/fs/cgroup).
MemoryLimits ReadMemoryLimits();

// The bytes the process may still allocate: the smallest known limit, or
// nothing when no limit could be read.
std::optional<std::uint64_t> AvailableMemoryBytes(const MemoryLimits& limits);
std::optional<std::uint64_t> AvailableMemoryBytes();

// Parsers of the system files, separated so that they can be tested on text.
// "MemAvailable:  123456 kB" in /proc/meminfo, in bytes.
std::optional<std::uint64_t> ParseMemAvailable(const std::string& meminfo);
// A control-group limit file: a number of bytes, or "max" (no limit).
std::optional<std::uint64_t> ParseCgroupLimit(const std::string& text);

}  // namespace vorel
