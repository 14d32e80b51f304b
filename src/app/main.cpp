// vorel: the desktop program.
//
//   vorel [DATAFILE]
//
// With a data file, "Open data" runs on it at start: the file choice dialog
// opens on that file.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTimer>
#include <cstdio>

#include "app/Application.h"
#include "app/MainWindow.h"
#include "app/QtHost.h"
#include "document/CVorelDoc.h"

namespace {

void SetUp(QCommandLineParser& parser) {
  parser.setApplicationDescription(QStringLiteral(
      "Singular Spectrum Analysis of a time series with gaps: the desktop program."));
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument(QStringLiteral("DATAFILE"),
                               QStringLiteral("A delimited data file to open at start."),
                               QStringLiteral("[DATAFILE]"));
}

// --help and --version answer without a display.
bool AsksForTextOnly(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const QByteArray a(argv[i]);
    if (a == "-h" || a == "--help" || a == "-?" || a == "--help-all" || a == "-v" ||
        a == "--version") {
      return true;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (AsksForTextOnly(argc, argv)) {
    QCoreApplication core(argc, argv);
    core.setApplicationName(QStringLiteral("vorel"));
    core.setApplicationVersion(QStringLiteral(VOREL_VERSION));
    QCommandLineParser parser;
    SetUp(parser);
    parser.process(core);  // prints and exits
    return 0;
  }
  vorel::Application app(argc, argv);
  QCommandLineParser parser;
  SetUp(parser);
  parser.process(app);
  const QStringList files = parser.positionalArguments();
  if (files.size() > 1) {
    std::fprintf(stderr, "vorel: at most one data file\n%s", qPrintable(parser.helpText()));
    return 2;
  }

  vorel::QtHost host;
  vorel::CVorelDoc document(host);
  // The eight graphs take their options from the settings file; a first start
  // writes the default file.
  document.LoadGraphSettings();
  vorel::MainWindow window(document, host);
  window.show();
  if (!files.isEmpty()) {
    const QString file = files.front();
    QTimer::singleShot(0, &window, [&window, file] { window.OpenDataFile(file); });
  }
  return app.exec();
}
