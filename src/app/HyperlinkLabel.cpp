#include "app/HyperlinkLabel.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProcess>
#include <QUrl>

namespace vorel {

HyperlinkLabel::HyperlinkLabel(const QString& text, QWidget* parent)
    : QLabel(text, parent), url_(UrlFromText(text)), opener_(&HyperlinkLabel::OpenWithDesktop) {
  if (this->text().isEmpty()) setText(url_);
  setObjectName(QStringLiteral("1114"));
  setTextFormat(Qt::PlainText);
  setMouseTracking(true);
  setCursor(Qt::PointingHandCursor);
  setToolTip(ToolTipFor(url_));
  // The control is as large as its text.
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  hoverTimer_.setInterval(kHoverInterval);
  connect(&hoverTimer_, &QTimer::timeout, this, &HyperlinkLabel::CheckHover);
  ApplyLook();
}

QString HyperlinkLabel::UrlFromText(const QString& text) {
  if (text.left(4).compare(QStringLiteral("www."), Qt::CaseInsensitive) == 0) {
    return QStringLiteral("http://") + text;
  }
  return text;
}

QString HyperlinkLabel::ToolTipFor(const QString& url) {
  const QString head = url.left(7);
  if (head.compare(QStringLiteral("http://"), Qt::CaseInsensitive) == 0) {
    return QStringLiteral("Go to ") + url.mid(7);
  }
  if (head.compare(QStringLiteral("mailto:"), Qt::CaseInsensitive) == 0) {
    return QStringLiteral("E-mail ") + url.mid(7);
  }
  return url;
}

QString HyperlinkLabel::FailureText(int code) {
  QString reason;
  switch (code) {
    case 0:
      reason = QStringLiteral("The operating system is out\nof memory or resources.");
      break;
    case 2:
      reason = QStringLiteral("The specified file was not found.");
      break;
    case 3:
      reason = QStringLiteral("The specified path was not found.");
      break;
    case 5:
      reason = QStringLiteral("The operating system denied\naccess to the specified file.");
      break;
    case 8:
      reason = QStringLiteral("There was not enough memory to complete the operation.");
      break;
    case 11:
      reason = QStringLiteral("The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).");
      break;
    case 26:
      reason = QStringLiteral("A sharing violation occurred. ");
      break;
    case 27:
      reason = QStringLiteral("The filename association is\nincomplete or invalid.");
      break;
    case 28:
      reason = QStringLiteral(
          "The DDE transaction could not\nbe completed because the request timed out.");
      break;
    case 29:
      reason = QStringLiteral("The DDE transaction failed.");
      break;
    case 30:
      reason = QStringLiteral(
          "The DDE transaction could not\nbe completed because other DDE transactions\nwere "
          "being processed.");
      break;
    case 31:
      reason =
          QStringLiteral("There is no application associated\nwith the given filename extension.");
      break;
    case 32:
      reason = QStringLiteral("The specified dynamic-link library was not found.");
      break;
    default:
      reason = QStringLiteral("Unknown Error (%1) occurred.").arg(code);
      break;
  }
  return QStringLiteral("Unable to open hyperlink:\n\n") + reason;
}

int HyperlinkLabel::OpenWithDesktop(const QString& url) {
  if (QDesktopServices::openUrl(QUrl(url))) return 33;
  QProcess process;
  process.start(QStringLiteral("xdg-open"), {url});
  if (!process.waitForStarted(5000)) {
    // No opener installed: nothing is associated with web addresses.
    return 31;
  }
  if (!process.waitForFinished(10000)) return 28;  // the opener did not answer in time
  if (process.exitStatus() != QProcess::NormalExit) return 29;
  switch (process.exitCode()) {
    case 0:
      return 33;
    case 2:
      return 2;  // xdg-open: a file on the command line does not exist
    case 3:
      return 31;  // a required tool could not be found
    case 4:
      return 29;  // the action failed
    default:
      return 27;  // a syntax error on its command line
  }
}

QColor HyperlinkLabel::textColour() const {
  if (hover_) return kHoverColour;
  return visited_ ? kVisitedColour : kLinkColour;
}

void HyperlinkLabel::ApplyLook() {
  QFont f = font();
  f.setUnderline(hover_);
  setFont(f);
  QPalette p = palette();
  p.setColor(QPalette::WindowText, textColour());
  setPalette(p);
  adjustSize();
  update();
}

void HyperlinkLabel::SetHover(bool hover) {
  if (hover_ == hover) return;
  hover_ = hover;
  if (hover_) {
    hoverTimer_.start();
  } else {
    hoverTimer_.stop();
  }
  ApplyLook();
}

void HyperlinkLabel::CheckHover() {
  if (!rect().contains(mapFromGlobal(QCursor::pos()))) SetHover(false);
}

void HyperlinkLabel::enterEvent(QEnterEvent* event) {
  QLabel::enterEvent(event);
  SetHover(true);
}

void HyperlinkLabel::mouseMoveEvent(QMouseEvent* event) {
  QLabel::mouseMoveEvent(event);
  SetHover(true);
}

void HyperlinkLabel::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QLabel::mousePressEvent(event);
    return;
  }
  SetHover(false);
  const int result = opener_(url_);
  if (result > 32) {
    visited_ = true;
    ApplyLook();
    return;
  }
  QApplication::beep();
  QMessageBox::warning(window(), QApplication::applicationDisplayName(), FailureText(result));
}

}  // namespace vorel
