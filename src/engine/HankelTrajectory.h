#pragma once
// The trajectory matrix of a series, never stored: element (i, j) is series
// element i + j - 1, so a view of the series and its flags with the present
// count of each lagged vector (column) and the list of the columns kept by the
// threshold is all an analysis needs. O(N) memory for any window length.

#include <memory>
#include <utility>
#include <vector>

#include "engine/EigenTypes.h"
#include "engine/MaskedSeries.h"

namespace vorel {

// A run of consecutive columns of the full trajectory, 0-based and inclusive.
struct ColumnRun {
  int first = 0;
  int last = 0;
  int size() const { return last - first + 1; }
  bool operator==(const ColumnRun&) const = default;
};

// The view holds the series scaled by 2^-k, k = scaleExponent(): a series whose
// largest magnitude lies outside 2^-250..2^250 is brought to magnitudes below
// 1, so that the sums of squares of the covariance neither underflow nor
// overflow; the analysis scales its results back. Scaling by a power of two is
// exact, and an ordinary series has k = 0.
class HankelTrajectory {
 public:
  HankelTrajectory() = default;
  // The L x K view of series, K = N - L + 1, every column kept. O(N).
  HankelTrajectory(const MaskedSeries& series, int L);

  // Rows L and the number of kept columns; 1-based accessors over the kept
  // columns, as for a stored matrix with missing elements 0.
  int rows() const { return L_; }
  int cols() const { return static_cast<int>(columns_.size()); }
  double value(int i, int j) const { return data_->x[Index(i, j)]; }
  bool isValid(int i, int j) const { return data_->flags[Index(i, j)] != 0; }
  int validCount(int j) const { return data_->counts[static_cast<size_t>(columns_[j - 1])]; }
  // The column of the full trajectory that kept column j is (1-based).
  int fullColumn(int j) const { return columns_[static_cast<size_t>(j) - 1] + 1; }
  // Kept column j as a series of length L, with its flags.
  MaskedSeries Column(int j) const;
  // True when no kept column has a missing element.
  bool AllValid() const;

  // The same view keeping only the columns with at least minValid present
  // elements (all of them for minValid <= 0). O(K).
  HankelTrajectory Keep(int minValid) const;
  // The kept columns as runs of consecutive full columns, in order.
  const std::vector<ColumnRun>& runs() const { return runs_; }

  // k: value(i, j) and x() are the series elements times 2^-k.
  int scaleExponent() const { return data_->scaleExponent; }
  // The power-of-two exponent k for a series with this largest magnitude.
  static int ScaleExponentFor(double largestMagnitude);

  // The series under the view (0-based, missing elements 0, scaled), its
  // flags, and the present counts of all K full columns.
  int seriesLength() const { return data_ ? static_cast<int>(data_->x.size()) : 0; }
  int fullCols() const { return data_ ? static_cast<int>(data_->counts.size()) : 0; }
  const Vector& x() const { return data_->x; }
  const FlagVector& flags() const { return data_->flags; }
  int fullValidCount(int j0) const { return data_->counts[static_cast<size_t>(j0)]; }

  bool operator==(const HankelTrajectory& other) const;

 private:
  struct Data {
    Vector x;
    FlagVector flags;
    std::vector<int> counts;
    int scaleExponent = 0;
  };
  Eigen::Index Index(int i, int j) const {
    return static_cast<Eigen::Index>(columns_[static_cast<size_t>(j) - 1]) + i - 1;
  }
  void FindRuns();

  int L_ = 0;
  std::shared_ptr<const Data> data_ = std::make_shared<const Data>();
  std::vector<int> columns_;  // 0-based full columns, increasing
  std::vector<ColumnRun> runs_;
};

}  // namespace vorel
