#pragma once

namespace vorel {

// What Next runs from the last page available (CVorelDoc::nextStep).
enum StepCode : int {
  kStepNone = 30,            // no series yet
  kStepCovariance = 31,      // covariance matrix and eigen-decomposition
  kStepChoice = 32,          // choice of eigenvectors
  kStepReconstruction = 33,  // reconstruction
  kStepResiduals = 34,       // show the residuals page
  kStepComparison = 35,      // comparison with a given series
  kStepCadzow = 36,          // Cadzow iterations
};

}  // namespace vorel
