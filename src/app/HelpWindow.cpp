#include "app/HelpWindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace vorel {

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window), browser_(new QTextBrowser(this)) {
  setWindowTitle(QStringLiteral("Vorel user guide"));
  setObjectName(QStringLiteral("HelpWindow"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser_);
  browser_->setOpenExternalLinks(true);
  resize(820, 640);
}

QString HelpWindow::GuidePath() {
  const QDir program(QCoreApplication::applicationDirPath());
  for (const QString& relative :
       {QStringLiteral("docs/user-guide.md"), QStringLiteral("../share/vorel/docs/user-guide.md")}) {
    if (QFileInfo::exists(program.filePath(relative))) return QDir::cleanPath(program.filePath(relative));
  }
#ifdef VOREL_DOCS_DIR
  return QStringLiteral(VOREL_DOCS_DIR "/user-guide.md");
#else
  return QString();
#endif
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
  return true;
}

}  // namespace vorel
