#pragma once

#include <QColor>
#include <QLabel>
#include <QString>
#include <QTimer>
#include <functional>

namespace vorel {

// A text that opens a web address when clicked (the about box's control
// 1114): blue before it is followed, purple after, red while the mouse is
// over it, underlined only while hovering, with the hand cursor and a tooltip
// that says where it goes.
class HyperlinkLabel : public QLabel {
  Q_OBJECT
 public:
  static constexpr int kHoverInterval = 100;  // ms between checks that the mouse is still over it
  static inline const QColor kLinkColour{0, 0, 238};
  static inline const QColor kVisitedColour{85, 26, 139};
  static inline const QColor kHoverColour{255, 0, 0};

  // Opens a URL; returns 33 or more on success, else the failure code of the
  // table HyperlinkFailureText reads.
  using Opener = std::function<int(const QString& url)>;

  // The label shows text; the URL is the text, with the web scheme put in
  // front when the text starts with the web host prefix "www.".
  explicit HyperlinkLabel(const QString& text, QWidget* parent = nullptr);

  const QString& url() const { return url_; }
  bool hovering() const { return hover_; }
  bool visited() const { return visited_; }
  // The colour the text is drawn in now.
  QColor textColour() const;
  // Replaces how the URL is opened (the tests' seam).
  void setOpener(Opener opener) { opener_ = std::move(opener); }

  // The rules of the control, also used by the tests.
  static QString UrlFromText(const QString& text);
  static QString ToolTipFor(const QString& url);
  static QString FailureText(int code);
  // Opens the URL with the desktop's browser, and with xdg-open when that
  // fails; the failure mapped to the nearest code of the table.
  static int OpenWithDesktop(const QString& url);

 protected:
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;

 private:
  void SetHover(bool hover);
  void ApplyLook();
  void CheckHover();

  QString url_;
  bool hover_ = false;
  bool visited_ = false;
  QTimer hoverTimer_;
  Opener opener_;
};

}  // namespace vorel
