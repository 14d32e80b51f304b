// vorel-render-pages: runs a whole analysis of a bundled example through the
// document, as a user would with the dialogs, and writes every page of the
// view as a PNG file:
//
//   vorel-render-pages [--size 900x560] [--examples DIR] [OUTPUT_DIR]
//
// The series is examples/co2-gaps.txt (window length 24, eigentriples 1-4,
// reconstruction by projection), compared with examples/co2.txt, then refined
// by Cadzow iterations compared with the same file. The graphs keep their
// default options (but more decimals on the Y scale of the eigenvector and
// deviation pages), so the pictures are what a new user sees.
#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "RenderHost.h"
#include "document/CVorelDoc.h"
#include "document/CommandIds.h"
#include "document/dialogs/CDialogCadzow.h"
#include "document/dialogs/CDialogComparison.h"
#include "document/dialogs/CDialogCovarianceMatrix.h"
#include "document/dialogs/CDialogEVGrouping.h"
#include "document/dialogs/CDialogFileChoice.h"
#include "document/dialogs/CDialogReconstruction.h"
#include "graphs/PageContents.h"
#include "graphs/PageRenderer.h"

namespace vorel {
namespace {

constexpr const char* kSeriesFile = "co2-gaps.txt";
constexpr const char* kCompareFile = "co2.txt";
constexpr const char* kWindowLength = "24";
const std::vector<int> kEigentripleRows = {0, 1, 2, 3};  // eigentriples 1-4

// Ends the run: a step did not go as a whole analysis goes.
[[noreturn]] void Fail(const std::string& what) { throw std::runtime_error(what); }

// Stops when the last command showed a message: the pictures would not be
// those of a whole analysis.
void ExpectNoMessage(RenderHost& host, const char* step) {
  const std::vector<std::string> messages = host.TakeMessages();
  if (!messages.empty()) Fail(std::string(step) + ": " + messages.front());
}

// A menu command; stops when it is disabled in the document's state.
void Command(CVorelDoc& document, int id) {
  if (!document.ExecuteCommand(id)) Fail("command " + std::to_string(id) + " is disabled");
}

class PageWriter {
 public:
  PageWriter(CVorelDoc& document, QString folder, int width, int height)
      : document_(document), folder_(std::move(folder)), width_(width), height_(height) {}

  void Write(int page, const char* name) {
    if (document_.currentPage != page) {
      Fail(std::string("expected page ") + std::to_string(page) + ", the document shows " +
           std::to_string(document_.currentPage));
    }
    const QImage image = RenderPage(document_, graphs_, width_, height_);
    const QString path = QDir(folder_).filePath(QString::fromLatin1(name));
    // The pages hold a few colours and the grey edges of the text: an 8-bit
    // palette keeps the files small. It is used only when it holds every
    // colour of the page, so the file has exactly the pixels drawn.
    QImage file =
        image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
    if (file.isNull() || file.convertToFormat(image.format()) != image) file = image;
    if (!file.save(path, "PNG", 9)) Fail("cannot write " + path.toStdString());
    std::printf("%s\n", path.toLocal8Bit().constData());
  }

 private:
  CVorelDoc& document_;
  QString folder_;
  int width_;
  int height_;
  PageGraphs graphs_;
};

void Run(const QString& examples, const QString& output, int width, int height) {
  // An empty folder as the program's folder: no settings file is read, so the
  // pictures do not depend on the options of whoever runs this.
  QTemporaryDir programFolder;
  if (!programFolder.isValid()) Fail("cannot create a temporary folder");
  RenderHost host(programFolder.path().toStdString());
  CVorelDoc document(host);
  PageWriter pages(document, output, width, height);
  // The eigenvectors and the deviations vary by thousandths or hundredths:
  // their pages get four and three decimals on the Y scale, as a user would
  // set them in the graph options. Every other option keeps its default.
  document.graphOptions[GraphIndexOfPage(PageEigenvectors)].Precision = 4;
  document.graphOptions[GraphIndexOfPage(PageDeviations)].Precision = 3;
  const std::string seriesPath = QDir(examples).filePath(kSeriesFile).toStdString();
  const std::string comparePath = QDir(examples).filePath(kCompareFile).toStdString();

  // Open data: the file's first column.
  host.SetOpenFilePath(seriesPath);
  host.SetAnswer([](Dialog& dialog, DialogControls& controls) {
    dialog.OnCommand(CDialogFileChoice::kIdOpenFile);
    controls.SetSelection(CDialogFileChoice::kIdNames, {0});
    dialog.OnCommand(kIdOk);
  });
  Command(document, kCmdOpenData);
  ExpectNoMessage(host, "open data");
  pages.Write(PageInitialSeries, "page-22-initial-series.png");

  // Covariance dialog, "Additional information" for the chosen window length.
  const auto covariance = [](int button) {
    return [button](Dialog& dialog, DialogControls& controls) {
      controls.SetText(CDialogCovarianceMatrix::kIdWindowLength, kWindowLength);
      controls.SetState(CDialogCovarianceMatrix::kIdSvd, 0);
      dialog.OnCommand(button);
    };
  };
  host.SetAnswer(covariance(CDialogCovarianceMatrix::kIdAdditionalInfo));
  Command(document, kCmdNextStep);
  ExpectNoMessage(host, "additional information");
  pages.Write(PageAdditionalInfo, "page-21-additional-info.png");

  // Back on the series page, Next runs the covariance step for real.
  Command(document, kCmdNextStep);
  host.SetAnswer(covariance(kIdOk));
  Command(document, kCmdNextStep);
  ExpectNoMessage(host, "covariance matrix");
  pages.Write(PageSingularValues, "page-23-singular-values.png");
  Command(document, kCmdNextStep);
  pages.Write(PageEigenvectors, "page-24-eigenvectors.png");

  // Choice of eigentriples.
  host.SetAnswer([](Dialog& dialog, DialogControls& controls) {
    controls.SetSelection(CDialogEVGrouping::kIdNotUsed, kEigentripleRows);
    dialog.OnCommand(CDialogEVGrouping::kIdMoveToUsed);
    dialog.OnCommand(kIdOk);
  });
  Command(document, kCmdNextStep);
  ExpectNoMessage(host, "choice of eigentriples");

  // Reconstruction by projection, the method made for gaps.
  host.SetAnswer([](Dialog& dialog, DialogControls& controls) {
    controls.SetState(CDialogReconstruction::kIdPrincipalComponents, 1);
    dialog.OnCommand(kIdOk);
  });
  Command(document, kCmdNextStep);
  ExpectNoMessage(host, "reconstruction");
  pages.Write(PageInitialAndReconstructed, "page-26-initial-and-reconstructed.png");
  Command(document, kCmdPageReconstructed);
  pages.Write(PageReconstructed, "page-25-reconstructed.png");
  Command(document, kCmdNextStep);  // to the initial and reconstructed page
  Command(document, kCmdNextStep);  // the residuals step
  pages.Write(PageResiduals, "page-27-residuals.png");
  host.SetAnswer(nullptr);

  // "Compare reconstructed series with": the same file without gaps.
  host.SetOpenFilePath(comparePath);
  const RenderHost::Answer compareFromFile = [](Dialog& dialog, DialogControls& controls) {
    if (std::string(dialog.className()) == "CDialogFileChoice") {
      dialog.OnCommand(CDialogFileChoice::kIdOpenFile);
      controls.SetSelection(CDialogFileChoice::kIdNames, {0});
      dialog.OnCommand(kIdOk);
    } else if (std::string(dialog.className()) == "CDialogComparison") {
      dialog.OnCommand(CDialogComparison::kIdFromFile);
    }
  };
  host.SetAnswer(compareFromFile);
  Command(document, kCmdCompare);
  ExpectNoMessage(host, "comparison");
  pages.Write(PageDeviations, "page-28-compared.png");

  // "Cadzow method" with its default window length and iteration count, the
  // comparison with the same file switched on.
  host.SetAnswer([compareFromFile](Dialog& dialog, DialogControls& controls) {
    if (std::string(dialog.className()) == "CDialogCadzow") {
      dialog.OnCommand(CDialogCadzow::kIdCompare);
      dialog.OnCommand(kIdOk);
    } else {
      compareFromFile(dialog, controls);
    }
  });
  Command(document, kCmdCadzow);
  ExpectNoMessage(host, "Cadzow iterations");
  Command(document, kCmdPageDeviations);
  pages.Write(PageDeviations, "page-28-deviations.png");
}

}  // namespace
}  // namespace vorel

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Draws every page of the view for a whole analysis of a bundled example as PNG files.");
  parser.addHelpOption();
  parser.addPositionalArgument("output", "Folder of the pictures (default: docs/pages).");
  const QCommandLineOption size("size", "Picture size in pixels (default: 900x560).", "WxH",
                                "900x560");
  const QCommandLineOption examples("examples", "Folder of the example series.", "dir",
                                    QStringLiteral(VOREL_EXAMPLES_DIR));
  parser.addOption(size);
  parser.addOption(examples);
  parser.process(app);

  const QStringList wh = parser.value(size).split(QLatin1Char('x'));
  bool okW = false;
  bool okH = false;
  const int width = wh.size() == 2 ? wh[0].toInt(&okW) : 0;
  const int height = wh.size() == 2 ? wh[1].toInt(&okH) : 0;
  if (!okW || !okH || width < 1 || height < 1 || width > 10000 || height > 10000) {
    std::fprintf(stderr, "vorel-render-pages: --size wants WIDTHxHEIGHT, e.g. 900x560\n");
    return 2;
  }
  const QStringList positional = parser.positionalArguments();
  const QString output = positional.isEmpty() ? QStringLiteral("docs/pages") : positional.first();
  if (!QDir().mkpath(output)) {
    std::fprintf(stderr, "vorel-render-pages: cannot create %s\n",
                 output.toLocal8Bit().constData());
    return 1;
  }
  try {
    vorel::Run(parser.value(examples), output, width, height);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vorel-render-pages: %s\n", e.what());
    return 1;
  }
  return 0;
}
