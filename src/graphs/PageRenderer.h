#pragma once

#include <QImage>
#include <array>

#include "document/GraphOptions.h"
#include "graphs/Graph.h"

namespace vorel {

class CVorelDoc;

// The graphs of pages 21..28, in page order.
using PageGraphs = std::array<Graph, kGraphCount>;

// Draws the current page into a W x H picture with its page's graph: the
// graph takes the page's options from the document, is set up, given texts and
// curves and rendered, and its write-backs (automatic Y range, reset X bounds, AutoX switched off
// on the additional-information page) go back to the document's options. Outside the graph's width
// (the scroll bar's strip) the picture stays white.
QImage RenderPage(CVorelDoc& document, PageGraphs& graphs, int width, int height);

}  // namespace vorel
