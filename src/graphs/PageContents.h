#pragma once

#include <string>
#include <vector>

#include "document/GraphOptions.h"
#include "engine/MaskedSeries.h"
#include "graphs/GraphTexts.h"

namespace vorel {

class CVorelDoc;

// What the view shows on the document's current page, computed from the
// document alone: the graph layout, the texts and temporary copies of the
// curves. Building it never changes the document.
struct PageContents {
  int page = 0;         // the ViewPage drawn
  int graphIndex = -1;  // the page's graph and settings section (page - 21); -1 for PageEmpty
  bool empty = true;    // PageEmpty: a framed white rectangle and nothing else
  int graphCount = 0;
  int curveCount = 0;
  int labelOrigin = 0;
  GraphTexts texts;
  std::vector<MaskedSeries> curves;  // curve j of graph i at i * curveCount + j
  bool autoXOff = false;             // the graph's AutoX is switched off before drawing

  // Width and height of the graph panel (the view's size, less the scroll bar).
  int width = 0;
  int height = 0;
  // The eigenvectors' scroll bar: shown at x = scrollBarX, 15 pixels wide and
  // the view's height, with range 1..scrollMax and position scrollPosition.
  bool showScrollBar = false;
  int scrollBarX = 0;
  int scrollMax = 1;
  int scrollPosition = 1;

  // Width of the eigenvector page's scroll bar.
  static constexpr int kScrollBarWidth = 15;
};

// The contents of the document's current page for a view of W x H pixels.
PageContents MakePageContents(const CVorelDoc& document, int width, int height);

}  // namespace vorel
