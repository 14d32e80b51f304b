#pragma once
// The descriptions of the dialogs' faces, one function per dialog class.

#include "app/dialogs/FaceDescription.h"

namespace vorel::faces {

// Data files and series export.
FaceDescription FileChoice();
FaceDescription SetDelimiter();
FaceDescription MVCode();
FaceDescription SetDelimiterSave();
// Series tools.
FaceDescription SeriesSimulation();
FaceDescription EditSourceSeries();
FaceDescription WarningNewSL();
// Analysis steps.
FaceDescription CovarianceMatrix();
FaceDescription EVGrouping();
FaceDescription Reconstruction();
FaceDescription ProjectionOptions();
FaceDescription Cadzow();
FaceDescription Comparison();
// Graphs.
FaceDescription GraphOption();

}  // namespace vorel::faces
