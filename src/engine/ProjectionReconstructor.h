#pragma once

#include <array>

#include "engine/Reconstructor.h"

namespace vorel {

// "<<Projection>>": complete lagged vectors projected onto the selected
// eigenvectors, incomplete ones repaired group by group.
class ProjectionReconstructor : public Reconstructor {
 public:
  ProjectionReconstructor(const MaskedSeries& series, const MaskedMatrix& trajectory,
                          const MaskedMatrix& selectedEigenvectors, MaskedSeries& reconstructed,
                          const int& validEntriesMethod,
                          const std::array<int, 5>& missingEntriesPriority)
      : Reconstructor(series, trajectory, selectedEigenvectors, reconstructed),
        validEntriesMethod_(validEntriesMethod),
        missingEntriesPriority_(missingEntriesPriority) {}
  void Reconstruct() override;
  int type() const override { return kProjection; }

 private:
  const int& validEntriesMethod_;
  const std::array<int, 5>& missingEntriesPriority_;
};

}  // namespace vorel
