#include "app/QtHost.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProgressBar>
#include <QSettings>
#include <QStringList>
#include <exception>

#include "app/dialogs/FaceRegistry.h"
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

}  // namespace

QtHost::QtHost() = default;

QString QtHost::BundledExamplesFolder() {
  const QDir program(QCoreApplication::applicationDirPath());
  for (const QString& relative :
       {QStringLiteral("examples"), QStringLiteral("../share/vorel/examples")}) {
    const QString candidate = program.filePath(relative);
    if (QFileInfo(candidate).isDir()) return QDir::cleanPath(candidate);
  }
#ifdef VOREL_EXAMPLES_DIR
  if (QFileInfo(QStringLiteral(VOREL_EXAMPLES_DIR)).isDir())
    return QStringLiteral(VOREL_EXAMPLES_DIR);
#endif
  return QString();
}

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
    if (failure) return;
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
  return BundledExamplesFolder().toStdString();
}

std::string QtHost::ProgramFolder() {
  if (!programFolder_.isEmpty()) return programFolder_.toStdString();
  return QCoreApplication::applicationDirPath().toStdString();
}

void QtHost::ProgressBegin(int from, int to) {
  if (progressBar_ == nullptr) return;
  progressBar_->setRange(from, to);
  progressBar_->setValue(from);
}

void QtHost::ProgressStep() {
  if (progressBar_ != nullptr) progressBar_->setValue(progressBar_->value() + 1);
  // The window keeps painting while the work runs; the user's input waits
  // until the command ends.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtHost::ProgressShow() {
  if (progressBar_ != nullptr) progressBar_->show();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtHost::ProgressHide() {
  if (progressBar_ != nullptr) progressBar_->hide();
}

void QtHost::BeginWaitCursor() {
  if (waitDepth_++ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtHost::EndWaitCursor() {
  if (waitDepth_ > 0 && --waitDepth_ == 0) QApplication::restoreOverrideCursor();
}

void QtHost::RedrawAllViews() {
  if (redraw_) redraw_();
}

}  // namespace vorel
