#include "document/ApplyGraphOptions.h"

namespace vorel {

void ApplyGraphOptionsToAll(GraphOptionsSet& graphs, int source) {
  if (source < 0 || source >= kGraphCount) return;
  const GraphOptions from = graphs[source];
  for (GraphOptions& to : graphs) {
    to.ShowMV = from.ShowMV;
    to.ShowPoints = from.ShowPoints;
    to.ShowScale = from.ShowScale;
    to.Monochrome = from.Monochrome;
    to.AutoX = from.AutoX;
    to.AutoY = from.AutoY;
    to.ShowLegends = from.ShowLegends;
    to.ShowGrid = from.ShowGrid;
    to.Precision = from.Precision;
    to.XLeftBound = from.XLeftBound;
    to.XRightBound = from.XRightBound;
    to.YUpperBound = from.YUpperBound;
    to.YLowerBound = from.YLowerBound;
    to.FontHeight = from.FontHeight;
    to.normalFontWidth = from.normalFontWidth;
    to.largeFontHeight = from.largeFontHeight;
    to.largeFontWidth = from.largeFontWidth;
  }
}

}  // namespace vorel
