#include "engine/ProgressCounter.h"

namespace vorel {

void ProgressCounter::begin(int from, int to) {
  range_ = static_cast<std::int64_t>(to) - from;
  count_ = 0;
  shownMaximum_ = 0;
  position_ = 0;
}

bool ProgressCounter::step() {
  ++count_;
  if (range_ <= 0) return false;
  const auto p = static_cast<int>(static_cast<std::int64_t>(count_) * 100 / range_);
  if (p <= shownMaximum_) return false;
  shownMaximum_ = p;
  position_ = p;
  return true;
}

}  // namespace vorel
