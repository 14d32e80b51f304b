#include "app/AboutBox.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "app/HyperlinkLabel.h"
#include "app/Icons.h"

#ifndef VOREL_VERSION
#define VOREL_VERSION "0.1.0"
#endif

namespace vorel {

QString VersionText() { return QStringLiteral(VOREL_VERSION " (build " __DATE__ " " __TIME__ ")"); }

AboutBox::AboutBox(QWidget* parent)
    : QDialog(parent), link_(new HyperlinkLabel(QString::fromLatin1(kLinkText), this)) {
  setWindowTitle(QStringLiteral("About Vorel program"));
  setObjectName(QStringLiteral("100"));
  auto* layout = new QGridLayout(this);
  auto* icon = new QLabel(this);
  icon->setPixmap(ApplicationIcon().pixmap(32, 32));
  layout->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
  auto* name =
      new QLabel(QStringLiteral("Vorel, version ") + VersionText() +
                     QStringLiteral("\nSingular Spectrum Analysis of a time series with gaps: "
                                    "decomposition, choice of eigentriples,\nreconstruction "
                                    "that fills the missing values, Cadzow iterations."),
                 this);
  layout->addWidget(name, 0, 1);
  layout->addWidget(
      new QLabel(QStringLiteral("Free software; no warranty. Read how the method works:"), this), 1,
      1);
  layout->addWidget(link_, 2, 1, Qt::AlignLeft);
  auto* close = new QPushButton(QStringLiteral("Close"), this);
  close->setObjectName(QStringLiteral("1"));
  close->setDefault(true);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(close, 3, 1, Qt::AlignRight);
}

}  // namespace vorel
