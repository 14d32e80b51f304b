#pragma once
// The engine's exception classes, each with its fixed message.

#include <string>

#include "engine/AbstractException.h"

namespace vorel {

#define VOREL_DEFINE_EXCEPTION(Name, Text)          \
  class Name : public AbstractException {           \
   public:                                          \
    static constexpr const char* kMessage = Text;   \
    Name() : AbstractException(kMessage) {}         \
  };

VOREL_DEFINE_EXCEPTION(ExceptionWindowLength,
                       "The window length must satisfy to the following requirements: 1 < L < "
                       "N-1.\nEnter another window length value, please.")
VOREL_DEFINE_EXCEPTION(ExceptionThresholdOutOfRange,
                       "Attention!\nWrong threshold value is entered. Threshold value should be not "
                       "negative number and be less than the series length.")
VOREL_DEFINE_EXCEPTION(ExceptionThresholdDeleteAllVectors,
                       "Attention!\nCurrent threshold value cause deletion of all lagged "
                       "vectors.\nEnter another parameters, please (down the window length or up the "
                       "threshold).")
VOREL_DEFINE_EXCEPTION(ExceptionNoEVSelected, "Attention!\nNo eigentriples have been selected.")
VOREL_DEFINE_EXCEPTION(ExceptionWrongCadzowWL,
                       "Attention!\nThe window length of Cadzow's iterations should be greater or "
                       "equal to window length used before and less than length of the source time "
                       "series minus one.")
VOREL_DEFINE_EXCEPTION(ExceptionWrongCadzowIterationsNumber,
                       "Attention!\nThe Cadzow's iterations number should be greater zero.")
VOREL_DEFINE_EXCEPTION(ExceptionProjectorPi,
                       "Attention!\nThe error of matrix inversion detected while PI projector was "
                       "applied.")
VOREL_DEFINE_EXCEPTION(ExceptionSimultaneousFillingIn,
                       "Attention!\nThe error of matrix inversion detected while formula of "
                       "simulteneous filling was applied.")
VOREL_DEFINE_EXCEPTION(ExceptionForecasting,
                       "Attention!\nThe error of applicability of the forecast formula detected. It "
                       "occured because condition of applicability of the formula was "
                       "disturbed(for example, in case when signal dimension is equal to L, e.g. "
                       "window length).")
VOREL_DEFINE_EXCEPTION(ExceptionImposibleToCombine,
                       "Attention!\nSelected methods'  combination cannot be applied to the source "
                       "series.\nUse another combination.")

// Failures the original design left without a class of their own.
VOREL_DEFINE_EXCEPTION(ExceptionUnknownCovarianceMethod,
                       "Attention!\nUnknown covariance method: it must be <<SVD>> (2) or "
                       "<<Toeplitz>> (3).")
VOREL_DEFINE_EXCEPTION(ExceptionUnknownReconstructionMethod,
                       "Attention!\nUnknown reconstruction method: it must be <<Principal "
                       "components>> (0) or <<Projection>> (1).")
VOREL_DEFINE_EXCEPTION(ExceptionEigenDecomposition,
                       "Attention!\nThe eigen-decomposition of the covariance matrix failed (the "
                       "matrix holds values that are not finite or the solver did not converge).")

#undef VOREL_DEFINE_EXCEPTION

// An analysis whose working memory cannot fit in what the process may still
// take; raised before anything of that size is allocated.
class ExceptionNotEnoughMemory : public AbstractException {
 public:
  ExceptionNotEnoughMemory(int N, int L, int iterations)
      : AbstractException("Attention!\nNot enough memory for this analysis (series length " +
                          std::to_string(N) + ", window length " + std::to_string(L) +
                          (iterations > 0 ? ", " + std::to_string(iterations) + " iterations"
                                          : std::string()) +
                          ").") {}
};

}  // namespace vorel
