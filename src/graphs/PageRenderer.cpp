#include "graphs/PageRenderer.h"

#include <QPainter>

#include "document/CVorelDoc.h"
#include "graphs/PageContents.h"

namespace vorel {

QImage RenderPage(CVorelDoc& document, PageGraphs& graphs, int width, int height) {
  if (width <= 0 || height <= 0) return QImage();
  PageContents c = MakePageContents(document, width, height);
  if (c.empty || c.graphIndex < 0 || c.graphIndex >= kGraphCount) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    // The rectangle from (0, 0) to (W, H), its right and bottom edges excluded.
    painter.drawRect(0, 0, width - 1, height - 1);
    return image;
  }

  Graph& graph = graphs[c.graphIndex];
  GraphOptions& options = document.graphOptions[c.graphIndex];
  if (c.autoXOff) options.AutoX = false;
  graph.options() = options;
  graph.Setup(c.width, c.height, c.graphCount, c.curveCount, c.labelOrigin);
  graph.SetTexts(std::move(c.texts));
  graph.SetCurves(std::move(c.curves));
  const QImage picture = graph.Render();
  options = graph.options();
  if (c.width == width) return picture;

  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.drawImage(QPoint(0, 0), picture);
  return image;
}

}  // namespace vorel
