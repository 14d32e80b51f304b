#include "engine/ProjectionReconstructor.h"

#include "engine/AbstractException.h"

namespace vorel {

void ProjectionReconstructor::Reconstruct() {
  throw AbstractException("Attention!\nThe <<Projection>> reconstruction is not available yet.");
}

}  // namespace vorel
