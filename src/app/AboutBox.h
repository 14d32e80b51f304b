#pragma once

#include <QDialog>

namespace vorel {

class HyperlinkLabel;

// "About Vorel program": the program's icon, name, version and build, what it
// does, a notice line, the web link (control 1114) and "Close" (1).
class AboutBox : public QDialog {
  Q_OBJECT
 public:
  static constexpr const char* kLinkText = "www.wikipedia.org/wiki/Singular_spectrum_analysis";

  explicit AboutBox(QWidget* parent = nullptr);
  HyperlinkLabel* link() const { return link_; }

 private:
  HyperlinkLabel* link_;
};

// The program's version ("0.1.0") and build number (the build's date and time).
QString VersionText();

}  // namespace vorel
