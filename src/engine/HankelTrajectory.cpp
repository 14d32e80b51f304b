#include "engine/HankelTrajectory.h"

#include <cmath>

namespace vorel {

HankelTrajectory::HankelTrajectory(const MaskedSeries& series, int L) : L_(L) {
  const int N = series.length();
  const int K = N - L + 1;
  auto data = std::make_shared<Data>();
  data->flags = series.flags();
  data->x = (data->flags.array() != 0).select(series.values(), 0.0);
  const double largest = N > 0 ? data->x.cwiseAbs().maxCoeff() : 0.0;
  data->scaleExponent = ScaleExponentFor(largest);
  if (data->scaleExponent != 0) {
    for (Eigen::Index t = 0; t < data->x.size(); ++t) {
      data->x(t) = std::ldexp(data->x(t), -data->scaleExponent);
    }
  }
  data->counts.assign(static_cast<size_t>(std::max(K, 0)), 0);
  // Present elements of each window of L, sliding by one.
  int present = 0;
  for (int t = 0; t < N; ++t) {
    present += data->flags(t) != 0;
    if (t >= L) present -= data->flags(t - L) != 0;
    if (t >= L - 1) data->counts[static_cast<size_t>(t - L + 1)] = present;
  }
  columns_.resize(static_cast<size_t>(std::max(K, 0)));
  for (int j = 0; j < K; ++j) columns_[static_cast<size_t>(j)] = j;
  data_ = std::move(data);
  FindRuns();
}

int HankelTrajectory::ScaleExponentFor(double largestMagnitude) {
  constexpr int kSafe = 250;
  if (!(largestMagnitude > 0) || !std::isfinite(largestMagnitude)) return 0;
  const int e = std::ilogb(largestMagnitude);
  if (e >= -kSafe && e < kSafe) return 0;
  return e + 1;  // the largest magnitude becomes 0.5..1
}

MaskedSeries HankelTrajectory::Column(int j) const {
  MaskedSeries out(L_);
  const Eigen::Index start = columns_[static_cast<size_t>(j) - 1];
  out.values() = data_->x.segment(start, L_);
  out.flags() = data_->flags.segment(start, L_);
  return out;
}

bool HankelTrajectory::AllValid() const {
  for (int c : columns_) {
    if (data_->counts[static_cast<size_t>(c)] != L_) return false;
  }
  return true;
}

HankelTrajectory HankelTrajectory::Keep(int minValid) const {
  HankelTrajectory out;
  out.L_ = L_;
  out.data_ = data_;
  out.columns_.reserve(columns_.size());
  for (int c : columns_) {
    if (data_->counts[static_cast<size_t>(c)] >= minValid) out.columns_.push_back(c);
  }
  out.FindRuns();
  return out;
}

void HankelTrajectory::FindRuns() {
  runs_.clear();
  for (int c : columns_) {
    if (!runs_.empty() && runs_.back().last + 1 == c) {
      runs_.back().last = c;
    } else {
      runs_.push_back({c, c});
    }
  }
}

bool HankelTrajectory::operator==(const HankelTrajectory& other) const {
  return L_ == other.L_ && columns_ == other.columns_ && data_->x.size() == other.data_->x.size() &&
         data_->x == other.data_->x &&
         data_->flags == other.data_->flags;
}

}  // namespace vorel
