#include "app/Application.h"

#include <QMessageBox>
#include <exception>
#include <new>

#include "app/MainWindow.h"
#include "engine/AbstractException.h"

namespace vorel {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("vorel"));
  setApplicationDisplayName(QStringLiteral("Vorel"));
  setOrganizationName(QStringLiteral("Brelta"));
  setApplicationVersion(QStringLiteral(VOREL_VERSION));
}

bool Application::notify(QObject* receiver, QEvent* event) {
  QString message;
  try {
    return QApplication::notify(receiver, event);
  } catch (const AbstractException& e) {
    message = QString::fromStdString(e.message());
  } catch (const std::bad_alloc&) {
    message = QString::fromUtf8(MainWindow::kMessageNoMemory);
  } catch (const std::exception& e) {
    message = QStringLiteral("The program met an error:\n") + QString::fromUtf8(e.what());
  } catch (...) {
    message = QStringLiteral("The program met an unknown error.");
  }
  QMessageBox::warning(activeWindow(), applicationDisplayName(), message);
  return false;
}

}  // namespace vorel
