#include "app/VorelView.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QWheelEvent>

#include "document/ApplyGraphOptions.h"
#include "document/CVorelDoc.h"
#include "document/CommandIds.h"
#include "document/ViewPage.h"
#include "document/dialogs/CDialogGraphOption.h"
#include "graphs/PageContents.h"
#include "graphs/SaveImageToBmp.h"

namespace vorel {

VorelView::VorelView(CVorelDoc& document, QWidget* parent)
    : QWidget(parent), document_(document), scrollBar_(new QScrollBar(Qt::Vertical, this)) {
  // The page covers the whole widget: no background is erased before painting.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setMinimumSize(160, 120);
  scrollBar_->setObjectName(QString::number(kScrollBarId));
  scrollBar_->hide();
  scrollBar_->setSingleStep(1);
  scrollBar_->setPageStep(1);
  // Dragging the thumb is not followed: only line and page steps move it.
  scrollBar_->setTracking(false);
  connect(scrollBar_, &QScrollBar::actionTriggered, this, &VorelView::OnScrollAction);
  connect(scrollBar_, &QScrollBar::sliderReleased, this, qOverload<>(&QWidget::update));
}

void VorelView::PlaceScrollBar(int width, int height) {
  const PageContents contents = MakePageContents(document_, width, height);
  if (!contents.showScrollBar) {
    scrollBar_->hide();
    return;
  }
  scrollBar_->setGeometry(contents.scrollBarX, 0, PageContents::kScrollBarWidth, height);
  const QSignalBlocker block(scrollBar_);
  scrollBar_->setRange(1, contents.scrollMax);
  scrollBar_->setValue(contents.scrollPosition);
  scrollBar_->show();
}

void VorelView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (frozen_) {
    // A view made larger meanwhile shows white where the last page does not reach.
    if (lastPage_.width() < width() || lastPage_.height() < height()) {
      painter.fillRect(rect(), Qt::white);
    }
    if (!lastPage_.isNull()) painter.drawImage(QPoint(0, 0), lastPage_);
    return;
  }
  PlaceScrollBar(width(), height());
  lastPage_ = RenderPage(document_, graphs_, width(), height());
  painter.drawImage(QPoint(0, 0), lastPage_);
}

void VorelView::SetFrozen(bool frozen) {
  if (frozen_ == frozen) return;
  frozen_ = frozen;
  if (!frozen_) update();
}

void VorelView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  update();
}

void VorelView::mouseDoubleClickEvent(QMouseEvent* event) {
  QWidget::mouseDoubleClickEvent(event);
  if (event->button() == Qt::LeftButton && !frozen_) EditGraphOptions();
}

void VorelView::wheelEvent(QWheelEvent* event) {
  if (frozen_ || document_.currentPage != PageEigenvectors || !scrollBar_->isVisible()) {
    QWidget::wheelEvent(event);
    return;
  }
  const int delta = event->angleDelta().y();
  if (delta != 0) StepEigenvector(delta < 0 ? 1 : -1);
  event->accept();
}

void VorelView::OnScrollAction(int action) {
  // The scroll bar repeats a held arrow by its timer, which runs during long work too.
  if (frozen_) return;
  switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
    case QAbstractSlider::SliderPageStepAdd:
      StepEigenvector(1);
      break;
    case QAbstractSlider::SliderSingleStepSub:
    case QAbstractSlider::SliderPageStepSub:
      StepEigenvector(-1);
      break;
    default:
      // Dragging, moves to the ends: the position goes back to the eigenvector shown.
      update();
      break;
  }
}

void VorelView::StepEigenvector(int direction) {
  if (frozen_) return;
  const int last = document_.analysis.windowLength() - 1;
  if (direction > 0 && document_.firstEigenvector < last) ++document_.firstEigenvector;
  if (direction < 0 && document_.firstEigenvector > 1) --document_.firstEigenvector;
  update();
  emit documentChanged();
}

void VorelView::EditGraphOptions() {
  const int page = document_.currentPage;
  if (page <= PageEmpty || page > PageDeviations) return;
  const int index = GraphIndexOfPage(page);
  // The point count of the page's last drawing bounds the X range.
  if (vorel::EditGraphOptions(document_.host(), document_.graphOptions[index],
                              graphs_[index].pointCount())) {
    emit documentChanged();
  }
}

QImage VorelView::Capture() { return RenderPage(document_, graphs_, width(), height()); }

void VorelView::SaveImage() {
  const QScreen* screen =
      this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
  const int depth = screen != nullptr && screen->depth() == 24 ? 24 : 32;
  SaveImageToBmp(
      document_.host(), [this] { return Capture(); }, depth);
}

bool VorelView::HandleCommand(int id) {
  switch (id) {
    case kCmdSaveSeries:
      document_.ExportSeries();
      return true;
    case kCmdSaveAllSettings:
      document_.SaveAllSettings();
      return true;
    case kCmdGraphSettings:
      EditGraphOptions();
      return true;
    case kCmdApplyGraphSettings:
      // The other pages show the options when they are next drawn.
      ApplyGraphOptionsToAll(document_.graphOptions, GraphIndexOfPage(document_.currentPage));
      return true;
    case kCmdSaveImageBmp:
      SaveImage();
      return true;
    default:
      return false;
  }
}

}  // namespace vorel
