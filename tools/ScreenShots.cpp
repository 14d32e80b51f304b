// vorel-screenshots: drives the real main window through an analysis of a
// bundled example and saves pictures of the window on several pages and of
// every dialog on the way:
//
//   xvfb-run -a vorel-screenshots [--examples DIR] [OUTPUT_DIR]
//
// It runs on the platform it is given (xcb under Xvfb for real window
// pictures); the dialogs are answered through their widgets, as a user would.
#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <cstdio>
#include <stdexcept>

#include "DialogDriver.h"
#include "app/AboutBox.h"
#include "app/Application.h"
#include "app/CommandActions.h"
#include "app/HelpWindow.h"
#include "app/MainWindow.h"
#include "app/QtHost.h"
#include "app/VorelView.h"
#include "app/WindowCommands.h"
#include "app/dialogs/DialogFace.h"
#include "document/CVorelDoc.h"
#include "document/CommandIds.h"
#include "document/dialogs/CDialogCadzow.h"
#include "document/dialogs/CDialogComparison.h"
#include "document/dialogs/CDialogCovarianceMatrix.h"
#include "document/dialogs/CDialogEVGrouping.h"
#include "document/dialogs/CDialogEditSourceSeries.h"
#include "document/dialogs/CDialogFileChoice.h"
#include "document/dialogs/CDialogReconstruction.h"

namespace vorel {
namespace {

[[noreturn]] void Fail(const QString& what) { throw std::runtime_error(what.toStdString()); }

class Shooter {
 public:
  explicit Shooter(QString folder) : folder_(std::move(folder)) {}

  void Save(const QPixmap& picture, const QString& name) {
    const QString path = QDir(folder_).filePath(name + QStringLiteral(".png"));
    if (picture.isNull() || !picture.save(path, "PNG"))
      Fail(QStringLiteral("cannot write ") + path);
    std::printf("%s\n", qPrintable(path));
  }

  // The whole window as the screen shows it (on a real display), else as it draws itself.
  void Window(QWidget& window, const QString& name) {
    QTest::qWait(150);
    QScreen* screen = window.screen();
    QPixmap picture;
    if (QGuiApplication::platformName() == QStringLiteral("xcb") && screen != nullptr) {
      picture = screen->grabWindow(window.winId());
    }
    if (picture.isNull()) picture = window.grab();
    Save(picture, name);
  }

  // A dialog face, just before the answer clicks.
  void Dialog(DialogFace& face, const QString& name) {
    QTest::qWait(100);
    Save(face.grab(), QStringLiteral("dialog-") + name);
  }

 private:
  QString folder_;
};

void Run(const QString& examples, const QString& output) {
  QTemporaryDir programFolder;
  if (!programFolder.isValid()) Fail(QStringLiteral("cannot create a temporary folder"));
  QtHost host;
  host.SetProgramFolder(programFolder.path());
  QString nextFile;
  host.seams().fileDialog = [&nextFile](const FileDialogRequest&,
                                        bool) -> std::optional<std::string> {
    if (nextFile.isEmpty()) return std::nullopt;
    return nextFile.toStdString();
  };
  QStringList messages;
  host.seams().messageBox = [&messages](const std::string& text, bool) {
    messages << QString::fromStdString(text);
  };
  CVorelDoc document(host);
  document.LoadGraphSettings();
  document.graphOptions[GraphIndexOfPage(PageEigenvectors)].Precision = 4;
  document.graphOptions[GraphIndexOfPage(PageDeviations)].Precision = 3;
  MainWindow window(document, host);
  window.resize(1000, 700);
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) Fail(QStringLiteral("the window is not shown"));

  Shooter shots(output);
  DialogDriver driver;
  const QString series = QDir(examples).filePath(QStringLiteral("co2-gaps.txt"));
  const QString compared = QDir(examples).filePath(QStringLiteral("co2.txt"));
  const auto run = [&](int id, const char* step) {
    window.actions().action(id)->trigger();
    QTest::qWait(50);
    if (!messages.isEmpty())
      Fail(QString::fromLatin1(step) + QStringLiteral(": ") + messages.front());
    if (!driver.faults.isEmpty())
      Fail(QString::fromLatin1(step) + QStringLiteral(": ") + driver.faults.front());
    if (!driver.idle()) Fail(QString::fromLatin1(step) + QStringLiteral(": a dialog did not open"));
  };
  const auto chooseFirstColumn = [&](DialogFace& face, bool shoot) {
    if (shoot) {
      // The two dialogs the file choice opens, looked at and cancelled.
      driver.Expect(QStringLiteral("CDialogSetDelimiter"), [&](DialogFace& f) {
        shots.Dialog(f, QStringLiteral("delimiters"));
        DialogDriver::Click(f, kIdCancel);
      });
      DialogDriver::Click(face, CDialogFileChoice::kIdDelimiters);
      driver.Expect(QStringLiteral("CDialogMVCode"), [&](DialogFace& f) {
        shots.Dialog(f, QStringLiteral("mv-code"));
        DialogDriver::Click(f, kIdCancel);
      });
      DialogDriver::Click(face, CDialogFileChoice::kIdChangeMvCode);
    }
    DialogDriver::Click(face, CDialogFileChoice::kIdOpenFile);
    DialogDriver::SelectRows(face, CDialogFileChoice::kIdNames, {0});
    DialogDriver::DoubleClickRow(face, CDialogFileChoice::kIdNames, 0);
    if (shoot) shots.Dialog(face, QStringLiteral("file-choice"));
    DialogDriver::Click(face, kIdOk);
  };

  shots.Window(window, QStringLiteral("window-start"));

  nextFile = series;
  driver.Expect(QStringLiteral("CDialogFileChoice"),
                [&](DialogFace& f) { chooseFirstColumn(f, true); });
  run(kCmdOpenData, "open data");
  shots.Window(window, QStringLiteral("window-initial-series"));

  driver.Expect(QStringLiteral("CDialogCovarianceMatrix"), [&](DialogFace& f) {
    DialogDriver::Type(f, CDialogCovarianceMatrix::kIdWindowLength, QStringLiteral("24"));
    shots.Dialog(f, QStringLiteral("covariance-matrix"));
    DialogDriver::Click(f, kIdOk);
  });
  run(kCmdNextStep, "covariance matrix");
  shots.Window(window, QStringLiteral("window-singular-values"));
  run(kCmdNextStep, "eigenvectors");
  shots.Window(window, QStringLiteral("window-eigenvectors"));

  driver.Expect(QStringLiteral("CDialogEVGrouping"), [&](DialogFace& f) {
    DialogDriver::SelectRows(f, CDialogEVGrouping::kIdNotUsed, {0, 1, 2, 3});
    DialogDriver::Click(f, CDialogEVGrouping::kIdMoveToUsed);
    shots.Dialog(f, QStringLiteral("choice-of-eigenvectors"));
    DialogDriver::Click(f, kIdOk);
  });
  run(kCmdNextStep, "choice of eigentriples");

  driver.Expect(QStringLiteral("CDialogReconstruction"), [&](DialogFace& f) {
    DialogDriver::Click(f, CDialogReconstruction::kIdProjection);
    shots.Dialog(f, QStringLiteral("reconstruction"));
    DialogDriver::Click(f, CDialogReconstruction::kIdMethodOptions);
    DialogDriver::Click(f, kIdOk);
  });
  driver.Expect(QStringLiteral("CDialogProjectionOptions"), [&](DialogFace& f) {
    shots.Dialog(f, QStringLiteral("projection-options"));
    DialogDriver::Click(f, kIdOk);
  });
  run(kCmdNextStep, "reconstruction");
  shots.Window(window, QStringLiteral("window-initial-and-reconstructed"));

  driver.Expect(QStringLiteral("CDialogGraphOption"), [&](DialogFace& f) {
    shots.Dialog(f, QStringLiteral("graphic-options"));
    DialogDriver::Click(f, kIdCancel);
  });
  QTest::mouseDClick(window.view(), Qt::LeftButton, {}, window.view()->rect().center());
  QTest::qWait(50);

  driver.Expect(QStringLiteral("CDialogSetDelimiterSave"), [&](DialogFace& f) {
    shots.Dialog(f, QStringLiteral("save-series-options"));
    DialogDriver::Click(f, kIdCancel);
  });
  run(kCmdSaveSeries, "save series");

  driver.Expect(QStringLiteral("CDialogEditSourceSeries"), [&](DialogFace& f) {
    shots.Dialog(f, QStringLiteral("edit-source-series"));
    // A shorter series asks first.
    driver.Expect(QStringLiteral("CDialogWarningNewSL"), [&](DialogFace& w) {
      shots.Dialog(w, QStringLiteral("warning-new-length"));
      DialogDriver::Click(w, kIdCancel);
    });
    DialogDriver::Type(f, CDialogEditSourceSeries::kIdNewLength, QStringLiteral("100"));
    DialogDriver::Click(f, CDialogEditSourceSeries::kIdChangeLength);
    DialogDriver::Click(f, kIdCancel);
  });
  run(kCmdEditSourceSeries, "edit source series");

  run(kCmdNextStep, "residuals");
  shots.Window(window, QStringLiteral("window-residuals"));

  nextFile = compared;
  driver.Expect(QStringLiteral("CDialogComparison"), [&](DialogFace& f) {
    shots.Dialog(f, QStringLiteral("comparison"));
    DialogDriver::Click(f, CDialogComparison::kIdFromFile);
  });
  driver.Expect(QStringLiteral("CDialogFileChoice"),
                [&](DialogFace& f) { chooseFirstColumn(f, false); });
  run(kCmdNextStep, "comparison");
  shots.Window(window, QStringLiteral("window-compared"));

  driver.Expect(QStringLiteral("CDialogCadzow"), [&](DialogFace& f) {
    DialogDriver::Click(f, CDialogCadzow::kIdCompare);
    shots.Dialog(f, QStringLiteral("cadzow"));
    DialogDriver::Click(f, kIdOk);
  });
  driver.Expect(QStringLiteral("CDialogComparison"),
                [&](DialogFace& f) { DialogDriver::Click(f, CDialogComparison::kIdFromFile); });
  driver.Expect(QStringLiteral("CDialogFileChoice"),
                [&](DialogFace& f) { chooseFirstColumn(f, false); });
  run(kCmdCadzow, "Cadzow iterations");
  run(kCmdPageDeviations, "deviations");
  shots.Window(window, QStringLiteral("window-deviations"));

  // Long work: many Cadzow iterations run on a worker thread while the window
  // keeps painting; a timer takes the window's picture meanwhile (the view
  // keeps its page, the status bar shows the progress).
  bool shotDuringWork = false;
  driver.Expect(QStringLiteral("CDialogCadzow"), [&](DialogFace& f) {
    DialogDriver::Type(f, CDialogCadzow::kIdIterations, QStringLiteral("10000"));
    DialogDriver::Click(f, kIdOk);
    QTimer::singleShot(500, &window, [&] {
      shotDuringWork = host.InLongWork();
      shots.Window(window, QStringLiteral("window-long-work"));
    });
  });
  run(kCmdCadzow, "long Cadzow iterations");
  if (!shotDuringWork) Fail(QStringLiteral("the long work ended before its picture"));

  driver.Expect(QStringLiteral("CDialogSeriesSimulation"), [&](DialogFace& f) {
    shots.Dialog(f, QStringLiteral("simulate-series"));
    DialogDriver::Click(f, kIdCancel);
  });
  run(kCmdSimulateSeries, "simulate series");

  AboutBox about(&window);
  about.show();
  QTest::qWait(100);
  shots.Save(about.grab(), QStringLiteral("dialog-about"));
  about.close();

  window.actions().action(kCmdHelpContents)->trigger();
  QTest::qWait(200);
  if (window.helpWindow() == nullptr) Fail(QStringLiteral("no help window"));
  shots.Save(window.helpWindow()->grab(), QStringLiteral("window-help"));
  window.helpWindow()->close();
}

}  // namespace
}  // namespace vorel

int main(int argc, char* argv[]) {
  vorel::Application app(argc, argv);
  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Saves pictures of the main window and its dialogs during an analysis."));
  parser.addHelpOption();
  parser.addPositionalArgument(QStringLiteral("output"),
                               QStringLiteral("Folder of the pictures (default: docs/screens)."));
  const QCommandLineOption examples(QStringLiteral("examples"),
                                    QStringLiteral("Folder of the example series."),
                                    QStringLiteral("dir"), QStringLiteral(VOREL_EXAMPLES_DIR));
  parser.addOption(examples);
  parser.process(app);
  const QStringList positional = parser.positionalArguments();
  const QString output = positional.isEmpty() ? QStringLiteral("docs/screens") : positional.first();
  if (!QDir().mkpath(output)) {
    std::fprintf(stderr, "vorel-screenshots: cannot create %s\n", qPrintable(output));
    return 1;
  }
  try {
    vorel::Run(parser.value(examples), output);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vorel-screenshots: %s\n", e.what());
    return 1;
  }
  return 0;
}
