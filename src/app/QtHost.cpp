#include "app/QtHost.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QSettings>
#include <QStringList>
#include <QThread>
#include <atomic>
#include <exception>
#include <memory>
#include <stdexcept>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "app/dialogs/FaceRegistry.h"
#include "document/InstallLayout.h"
#include "document/dialogs/Dialog.h"
#include "document/dialogs/ModalLoop.h"

namespace vorel {

namespace {

// While the wait cursor is up (a handler or a long step runs), a window that
// asks the user something shows the normal arrow.
class ArrowWhileWaiting {
 public:
  ArrowWhileWaiting() : active_(QApplication::overrideCursor() != nullptr) {
    if (active_) QApplication::setOverrideCursor(Qt::ArrowCursor);
  }
  ~ArrowWhileWaiting() {
    if (active_) QApplication::restoreOverrideCursor();
  }
  ArrowWhileWaiting(const ArrowWhileWaiting&) = delete;
  ArrowWhileWaiting& operator=(const ArrowWhileWaiting&) = delete;

 private:
  bool active_;
};

// The wait cursor while a dialog's handler runs (the covariance dialog's OK
// decomposes the matrix, the reconstruction's fills the series).
class WaitWhileHandling {
 public:
  WaitWhileHandling() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitWhileHandling() { QApplication::restoreOverrideCursor(); }
  WaitWhileHandling(const WaitWhileHandling&) = delete;
  WaitWhileHandling& operator=(const WaitWhileHandling&) = delete;
};

bool IsUserInput(QEvent::Type type) {
  switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::NativeGesture:
      return true;
    default:
      return false;
  }
}

}  // namespace

// The window system's input already waits while the user-interface thread
// processes events without it; this catches what is sent to a window by other
// means (another part of the program, a test) and keeps it, in order, for
// delivery after the work.
class QtHost::InputHold : public QObject {
 public:
  InputHold() { QCoreApplication::instance()->installEventFilter(this); }
  ~InputHold() override {
    QCoreApplication::instance()->removeEventFilter(this);
    for (auto& [receiver, event] : held_) {
      if (receiver) {
        QCoreApplication::postEvent(receiver, event.release());
      }
    }
  }
  InputHold(const InputHold&) = delete;
  InputHold& operator=(const InputHold&) = delete;

  bool eventFilter(QObject* receiver, QEvent* event) override {
    if (!IsUserInput(event->type())) return false;
    held_.emplace_back(receiver, std::unique_ptr<QEvent>(event->clone()));
    return true;
  }

 private:
  std::vector<std::pair<QPointer<QObject>, std::unique_ptr<QEvent>>> held_;
};

QtHost::QtHost() = default;

QWidget* QtHost::DialogParent() const {
  QWidget* active = QApplication::activeModalWidget();
  if (active == nullptr) active = QApplication::activeWindow();
  return active != nullptr ? active : mainWindow_;
}

void QtHost::ShowMessage(const std::string& text, bool exclamation) {
  ModalLoop::Pause pause;
  ArrowWhileWaiting arrow;
  if (seams_.messageBox) {
    seams_.messageBox(text, exclamation);
    return;
  }
  QMessageBox box(exclamation ? QMessageBox::Warning : QMessageBox::NoIcon,
                  QApplication::applicationDisplayName(), QString::fromStdString(text),
                  QMessageBox::Ok, DialogParent());
  box.exec();
}

void QtHost::MessageBox(const std::string& text) { ShowMessage(text, false); }

void QtHost::MessageBoxExclamation(const std::string& text) {
  QApplication::beep();
  ShowMessage(text, true);
}

DialogResult QtHost::RunModal(Dialog& dialog) {
  std::unique_ptr<DialogFace> face = MakeFace(dialog, DialogParent());
  if (!face) {
    MessageBox("This dialog (" + std::string(dialog.className()) + ") has no window yet.");
    return DialogResult::Cancel;
  }
  // An exception in a handler must not cross Qt's event loop: it is kept,
  // the face is closed and the exception goes on from here.
  std::exception_ptr failure;
  ModalLoop loop(dialog, *face);
  DialogFace* window = face.get();
  const auto guarded = [&](const auto& action) {
    // While a handler's long work runs, the face's signals (its activation
    // changing, say) wait: the handler is still under way.
    if (failure || InLongWork()) return;
    try {
      WaitWhileHandling wait;
      action();
    } catch (...) {
      failure = std::current_exception();
    }
    if (failure || loop.ended()) window->done(0);
  };
  QObject::connect(window, &DialogFace::commandClicked, window,
                   [&](int id) { guarded([&] { loop.Command(id); }); });
  QObject::connect(window, &DialogFace::listDoubleClicked, window,
                   [&](int id) { guarded([&] { loop.DoubleClick(id); }); });
  QObject::connect(window, &DialogFace::activationChanged, window,
                   [&](bool active) { guarded([&] { loop.Activate(active); }); });
  // A handler of the initialisation may already have ended the dialog.
  if (!loop.ended()) {
    ArrowWhileWaiting arrow;
    window->exec();
  }
  QObject::disconnect(window, nullptr, window, nullptr);
  if (failure) std::rethrow_exception(failure);
  // Closed from outside (the program quits): as Cancel.
  loop.Cancel();
  return loop.result();
}

std::optional<std::string> QtHost::FileDialog(const FileDialogRequest& request, bool save) {
  ModalLoop::Pause pause;
  if (seams_.fileDialog) return seams_.fileDialog(request, save);
  ArrowWhileWaiting arrow;
  QStringList filters;
  for (const FileFilter& f : request.filters) {
    // "TXT files *.txt" shows "*.txt": the label keeps its text, the pattern
    // goes in parentheses as Qt expects.
    filters << QString::fromStdString(f.label) + " (" + QString::fromStdString(f.pattern) + ")";
  }
  QFileDialog dialog(DialogParent(), QString::fromStdString(request.title),
                     QString::fromStdString(request.initialDirectory), filters.join(";;"));
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (!request.overwritePrompt) dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().constFirst().toStdString();
}

std::optional<std::string> QtHost::OpenFileDialog(const FileDialogRequest& request) {
  return FileDialog(request, false);
}

std::optional<std::string> QtHost::SaveFileDialog(const FileDialogRequest& request) {
  return FileDialog(request, true);
}

std::string QtHost::ExamplesPath(const std::string& productName) {
  QSettings settings(QStringLiteral("Brelta"), QString::fromStdString(productName));
  const QString kept = settings.value(QStringLiteral("ExamplesPath")).toString();
  if (!kept.isEmpty()) return kept.toStdString();
  return BundledExamplesFolder(QCoreApplication::applicationDirPath().toStdString());
}

std::string QtHost::ProgramFolder() {
  if (!programFolder_.isEmpty()) return programFolder_.toStdString();
  return QCoreApplication::applicationDirPath().toStdString();
}

void QtHost::OnUiThread(const std::function<void()>& operation) {
  QCoreApplication* app = QCoreApplication::instance();
  if (app == nullptr || QThread::currentThread() == app->thread()) {
    operation();
    return;
  }
  // From the worker: the user-interface thread is processing events until the
  // work ends, so the call is served there while the worker waits.
  if (relay_ != nullptr) {
    QMetaObject::invokeMethod(relay_, operation, Qt::BlockingQueuedConnection);
  }
}

void QtHost::ProgressBegin(int from, int to) {
  OnUiThread([this, from, to] {
    if (progressBar_ == nullptr) return;
    progressBar_->setRange(from, to);
    progressBar_->setValue(from);
  });
}

void QtHost::ProgressStep() {
  OnUiThread([this] {
    if (progressBar_ != nullptr) progressBar_->setValue(progressBar_->value() + 1);
    // Work on this thread: the window keeps painting between the steps; the
    // user's input waits until the command ends.
    if (!InLongWork()) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  });
}

void QtHost::ProgressShow() {
  OnUiThread([this] {
    if (progressBar_ != nullptr) progressBar_->show();
    if (!InLongWork()) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  });
}

void QtHost::ProgressHide() {
  OnUiThread([this] {
    if (progressBar_ != nullptr) progressBar_->hide();
  });
}

void QtHost::BeginWaitCursor() {
  OnUiThread([this] {
    if (waitDepth_++ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
  });
}

void QtHost::EndWaitCursor() {
  OnUiThread([this] {
    if (waitDepth_ > 0 && --waitDepth_ == 0) QApplication::restoreOverrideCursor();
  });
}

void QtHost::RunLongWork(const std::function<void()>& work) {
  QCoreApplication* app = QCoreApplication::instance();
  // Called from the worker, or without an application: nothing to keep painting.
  if (app == nullptr || QThread::currentThread() != app->thread()) {
    work();
    return;
  }
  // Two workers would share the document; the window refuses commands while
  // work runs, so this is a fault of the program, reported as a failure.
  if (InLongWork()) throw std::logic_error("A long computation is already running.");

  struct Depth {
    QtHost& host;
    explicit Depth(QtHost& h) : host(h) {
      if (host.longWorkDepth_++ == 0 && host.longWorkObserver_) host.longWorkObserver_(true);
    }
    ~Depth() {
      if (--host.longWorkDepth_ == 0 && host.longWorkObserver_) host.longWorkObserver_(false);
    }
  } depth(*this);
  // The input held meanwhile is posted again as the hold ends; it reaches its
  // window when the caller next processes events.
  InputHold hold;
  WaitWhileHandling wait;
  QObject relay;
  relay_ = &relay;

  std::exception_ptr failure;
  std::atomic<bool> done{false};
  const auto run = [&] {
    try {
      work();
    } catch (...) {
      failure = std::current_exception();
    }
    done.store(true, std::memory_order_release);
    // Wakes the loop below.
    QMetaObject::invokeMethod(
        &relay, [] {}, Qt::QueuedConnection);
  };
  std::thread worker;
  try {
    worker = std::thread(run);
  } catch (const std::system_error&) {
    // No thread to be had: the work runs here and the window waits for it.
    run();
  }
  while (!done.load(std::memory_order_acquire)) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                    QEventLoop::WaitForMoreEvents);
  }
  if (worker.joinable()) worker.join();
  relay_ = nullptr;
  if (failure) std::rethrow_exception(failure);
}

void QtHost::RedrawAllViews() {
  if (redraw_) redraw_();
}

}  // namespace vorel
