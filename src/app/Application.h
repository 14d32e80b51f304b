#pragma once

#include <QApplication>

namespace vorel {

// The program's application object: names the program, and keeps any
// exception that escapes an event handler from ending it (the user sees its
// message instead).
class Application : public QApplication {
  Q_OBJECT
 public:
  Application(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace vorel
