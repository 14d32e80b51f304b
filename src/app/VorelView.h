#pragma once

#include <QImage>
#include <QWidget>

#include "graphs/PageRenderer.h"

class QScrollBar;

namespace vorel {

class CVorelDoc;

// The program's only window content: draws the document's current page with
// the renderer at the widget's size, carries the eigenvectors' scroll bar
// (control 100), opens the graph options on a double click and runs the
// commands that act on the page's graphs.
class VorelView : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kScrollBarId = 100;

  VorelView(CVorelDoc& document, QWidget* parent = nullptr);

  // The commands the view handles ("S&ave series...", "Save all settings" and
  // the three graphics commands); runs one and returns true, or returns false
  // so that the document runs it.
  bool HandleCommand(int id);

  // The page as the view shows it now, drawn off-screen at the view's size.
  QImage Capture();

  QScrollBar* scrollBar() const { return scrollBar_; }
  PageGraphs& graphs() { return graphs_; }

  // "Settings" and the double click: the graph options of the current page.
  void EditGraphOptions();

  // While frozen (long work changes the document on another thread) the view
  // shows the last page it drew and reads nothing of the document; the scroll
  // bar and the mouse do nothing. Unfreezing draws the document again.
  void SetFrozen(bool frozen);
  bool frozen() const { return frozen_; }

 signals:
  // The view changed the document (the first eigenvector shown, a page's options).
  void documentChanged();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  // Places, ranges and shows (or hides) the scroll bar for a W x H view.
  void PlaceScrollBar(int width, int height);
  // A line or page step of the scroll bar: down (+1) or up (-1).
  void StepEigenvector(int direction);
  void OnScrollAction(int action);
  void SaveImage();

  CVorelDoc& document_;
  PageGraphs graphs_;
  QScrollBar* scrollBar_;
  bool frozen_ = false;
  // The page as last drawn from the document.
  QImage lastPage_;
};

}  // namespace vorel
