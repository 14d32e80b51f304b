#pragma once

#include "document/GraphOptions.h"

namespace vorel {

// "Apply this graph settings to other graphs": copies the options of graph
// `source` (0..7) to all eight graphs, itself included: every option of the
// options dialog, the font height with its derived sizes, and the X and Y
// bounds. An index outside 0..7 changes nothing.
void ApplyGraphOptionsToAll(GraphOptionsSet& graphs, int source);

}  // namespace vorel
