#pragma once

#include <QString>
#include <QWidget>

class QTextBrowser;

namespace vorel {

// "&Help" > "&Contents": the user guide (docs/user-guide.md) shown in a window
// of its own, pictures included.
class HelpWindow : public QWidget {
  Q_OBJECT
 public:
  explicit HelpWindow(QWidget* parent = nullptr);
  // Loads the guide; false (and a note in the window) when it cannot be read.
  bool Load(const QString& path);
  QTextBrowser* browser() const { return browser_; }

 private:
  void FitPictures();

  QTextBrowser* browser_;
};

}  // namespace vorel
