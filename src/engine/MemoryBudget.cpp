#include "engine/MemoryBudget.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>

namespace vorel {
namespace {

std::optional<std::string> ReadSmallFile(const char* path) {
  std::ifstream in(path);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The first unsigned number of text (leading blanks skipped).
std::optional<std::uint64_t> LeadingNumber(std::string_view text) {
  const auto start = text.find_first_not_of(" \t");
  if (start == std::string_view::npos) return std::nullopt;
  std::uint64_t value = 0;
  const char* first = text.data() + start;
  const auto [end, ec] = std::from_chars(first, text.data() + text.size(), value);
  if (ec != std::errc() || end == first) return std::nullopt;
  return value;
}

// Limit minus usage of the process's control group (v2, then v1).
std::optional<std::uint64_t> CgroupRemaining() {
  struct Files {
    const char* limit;
    const char* usage;
  };
  constexpr Files kFiles[] = {
      {"/sys/fs/cgroup/memory.max", "/sys/fs/cgroup/memory.current"},
      {"/sys/fs/cgroup/memory/memory.limit_in_bytes", "/sys/fs/cgroup/memory/memory.usage_in_bytes"},
  };
  for (const Files& f : kFiles) {
    const auto limitText = ReadSmallFile(f.limit);
    if (!limitText) continue;
    const auto limit = ParseCgroupLimit(*limitText);
    if (!limit) return std::nullopt;  // "max": no limit
    const auto usageText = ReadSmallFile(f.usage);
    const auto usage = usageText ? LeadingNumber(*usageText) : std::nullopt;
    const std::uint64_t used = usage.value_or(0);
    return *limit > used ? *limit - used : 0;
  }
  return std::nullopt;
}

// RLIMIT_AS minus the process's current virtual size.
std::optional<std::uint64_t> AddressSpaceLeft() {
  rlimit limit{};
  if (::getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return std::nullopt;
  std::uint64_t size = 0;
  if (const auto statm = ReadSmallFile("/proc/self/statm")) {
    const long pageSize = ::sysconf(_SC_PAGE_SIZE);
    if (const auto pages = LeadingNumber(*statm); pages && pageSize > 0) {
      size = *pages * static_cast<std::uint64_t>(pageSize);
    }
  }
  const auto cap = static_cast<std::uint64_t>(limit.rlim_cur);
  return cap > size ? cap - size : 0;
}

}  // namespace

std::optional<std::uint64_t> ParseMemAvailable(const std::string& meminfo) {
  constexpr std::string_view kKey = "MemAvailable:";
  std::istringstream lines(meminfo);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.rfind(kKey, 0) != 0) continue;
    const auto kb = LeadingNumber(std::string_view(line).substr(kKey.size()));
    if (!kb || *kb > UINT64_MAX / 1024) return std::nullopt;
    return *kb * 1024;
  }
  return std::nullopt;
}

std::optional<std::uint64_t> ParseCgroupLimit(const std::string& text) {
  const auto value = LeadingNumber(text);
  // cgroup v1 writes "no limit" as a huge number near 2^63.
  if (!value || *value >= (std::uint64_t{1} << 62)) return std::nullopt;
  return value;
}

MemoryLimits ReadMemoryLimits() {
  MemoryLimits limits;
  if (const auto meminfo = ReadSmallFile("/proc/meminfo")) {
    limits.machineAvailable = ParseMemAvailable(*meminfo);
  }
  if (!limits.machineAvailable) {
    const long pages = ::sysconf(_SC_AVPHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGE_SIZE);
    if (pages > 0 && pageSize > 0) {
      limits.machineAvailable = static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize);
    }
  }
  limits.cgroupRemaining = CgroupRemaining();
  limits.addressSpaceLeft = AddressSpaceLeft();
  return limits;
}

std::optional<std::uint64_t> AvailableMemoryBytes(const MemoryLimits& limits) {
  std::optional<std::uint64_t> smallest;
  for (const auto& limit : {limits.machineAvailable, limits.cgroupRemaining, limits.addressSpaceLeft}) {
    if (limit && (!smallest || *limit < *smallest)) smallest = limit;
  }
  return smallest;
}

std::optional<std::uint64_t> AvailableMemoryBytes() { return AvailableMemoryBytes(ReadMemoryLimits()); }

}  // namespace vorel
