#include "app/HelpWindow.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>
#include <QVBoxLayout>

namespace vorel {

HelpWindow::HelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), browser_(new QTextBrowser(this)) {
  setWindowTitle(QStringLiteral("Vorel user guide"));
  setObjectName(QStringLiteral("HelpWindow"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser_);
  browser_->setOpenExternalLinks(true);
  resize(820, 640);
}

void HelpWindow::FitPictures() {
  // The screenshots are as wide as the program's window: shown at most 600
  // pixels wide, keeping their proportions.
  constexpr double kMaxWidth = 600;
  QTextDocument* document = browser_->document();
  for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      if (!fragment.charFormat().isImageFormat()) continue;
      QTextImageFormat image = fragment.charFormat().toImageFormat();
      const QImage picture =
          document->resource(QTextDocument::ImageResource, QUrl(image.name())).value<QImage>();
      if (picture.isNull() || picture.width() <= kMaxWidth) continue;
      image.setWidth(kMaxWidth);
      image.setHeight(kMaxWidth * picture.height() / picture.width());
      QTextCursor cursor(document);
      cursor.setPosition(fragment.position());
      cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
      cursor.setCharFormat(image);
    }
  }
}

bool HelpWindow::Load(const QString& path) {
  QFile file(path);
  if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
    browser_->setPlainText(QStringLiteral("The user guide (%1) cannot be read.").arg(path));
    return false;
  }
  // Pictures are found beside the guide.
  browser_->setSearchPaths({QFileInfo(path).absolutePath()});
  browser_->document()->setBaseUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath() + "/"));
  browser_->setMarkdown(QString::fromUtf8(file.readAll()));
  FitPictures();
  return true;
}

}  // namespace vorel
