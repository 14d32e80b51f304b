// A whole analysis of the bundled CO2 series through the real main window and
// the dialogs' real widgets, checked against vorel-batch with the same
// choices to the bit; and the failure paths a user meets most, each showing
// its message and keeping the dialog open with what was typed.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "FaceDriver.h"
#include "app/CommandActions.h"
#include "app/MainWindow.h"
#include "app/QtHost.h"
#include "cli/BatchRun.h"
#include "document/CVorelDoc.h"
#include "document/CommandIds.h"
#include "document/dialogs/CDialogCadzow.h"
#include "document/dialogs/CDialogComparison.h"
#include "document/dialogs/CDialogCovarianceMatrix.h"
#include "document/dialogs/CDialogEVGrouping.h"
#include "document/dialogs/CDialogEditSourceSeries.h"
#include "document/dialogs/CDialogFileChoice.h"
#include "document/dialogs/CDialogProjectionOptions.h"
#include "document/dialogs/CDialogReconstruction.h"
#include "document/dialogs/CDialogSetDelimiterSave.h"
#include "document/dialogs/DataExchange.h"
#include "engine/Exceptions.h"

using namespace vorel;
using test::FaceDriver;

namespace {

const QString kExamples = QStringLiteral(VOREL_EXAMPLES_DIR);

// The main window on a document, with the host's file dialogs answered by the
// next queued path and its message boxes recorded.
struct Program {
  QTemporaryDir folder;
  QtHost host;
  QStringList files;  // answers of the next file dialogs
  QStringList messages;
  std::unique_ptr<CVorelDoc> document;
  std::unique_ptr<MainWindow> window;
  FaceDriver driver;
  QStringList progress;  // values of the progress bar, as they were set

  Program() {
    host.SetProgramFolder(folder.path());
    host.seams().fileDialog = [this](const FileDialogRequest&, bool) -> std::optional<std::string> {
      if (files.isEmpty()) return std::nullopt;
      return files.takeFirst().toStdString();
    };
    host.seams().messageBox = [this](const std::string& text, bool) {
      messages << QString::fromStdString(text);
    };
    document = std::make_unique<CVorelDoc>(host);
    document->LoadGraphSettings();
    window = std::make_unique<MainWindow>(*document, host);
    window->resize(900, 650);
    window->show();
    QObject::connect(window->progressBar(), &QProgressBar::valueChanged,
                     [this](int v) { progress << QString::number(v); });
  }

  // Triggers a command's action as a menu click does; every queued dialog must
  // have opened and no message may have been shown.
  void Run(int id) {
    QAction* action = window->actions().action(id);
    QVERIFY2(action != nullptr && action->isEnabled(), qPrintable(QString::number(id)));
    action->trigger();
    QTest::qWait(20);
  }
  void ExpectQuiet(const char* step) {
    QVERIFY2(messages.isEmpty(), qPrintable(QString(step) + ": " + messages.join(" | ")));
    QVERIFY2(driver.faults.isEmpty(), qPrintable(QString(step) + ": " + driver.faults.join(" | ")));
    QVERIFY2(driver.idle(), qPrintable(QString(step) + ": a dialog did not open"));
  }
};

// The file choice: "Open file" (the file dialog answers), the column's row
// clicked and double-clicked in "Series names:", then Ok.
void ChooseFirstColumn(DialogFace& f) {
  FaceDriver::Click(f, CDialogFileChoice::kIdOpenFile);
  FaceDriver::DoubleClickRow(f, CDialogFileChoice::kIdNames, 0);
  QVERIFY(!f.Lines(CDialogFileChoice::kIdContents).empty());
  FaceDriver::Click(f, kIdOk);
}

void Covariance(DialogFace& f, const QString& windowLength) {
  FaceDriver::Type(f, CDialogCovarianceMatrix::kIdWindowLength, windowLength);
  QTest::keyClick(f.control(CDialogCovarianceMatrix::kIdWindowLength), Qt::Key_Return);
}

// Eigentriples 1..4: every line back to "Not used:", its first four rows
// selected with a click and a shift+click, ">>>", Ok.
void ChooseFour(DialogFace& f) {
  FaceDriver::Click(f, CDialogEVGrouping::kIdAllNotUsed);
  FaceDriver::SelectRange(f, CDialogEVGrouping::kIdNotUsed, 0, 3);
  FaceDriver::Click(f, CDialogEVGrouping::kIdMoveToUsed);
  QCOMPARE(f.Lines(CDialogEVGrouping::kIdUsed).size(), size_t{4});
  FaceDriver::Click(f, kIdOk);
}

// Projection, with the PI projector tried first and "Left sequential" moved
// to the top of the priority list.
void ProjectionWithOptions(FaceDriver& driver, DialogFace& f) {
  driver.Expect("CDialogProjectionOptions", [](DialogFace& o) {
    using P = CDialogProjectionOptions;
    auto* combo = qobject_cast<QComboBox*>(o.control(P::kIdValidChoice));
    combo->setFocus();
    if (combo->currentIndex() != 1) QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(combo->currentIndex(), 1);
    if (o.Lines(P::kIdPriorityList).front() != "1) Left sequential") {
      FaceDriver::SelectRange(o, P::kIdPriorityList, 1, 1);
      FaceDriver::Click(o, P::kIdUp);
    }
    QCOMPARE(o.Lines(P::kIdPriorityList).front(), "1) Left sequential");
    FaceDriver::Click(o, kIdOk);
  });
  FaceDriver::Click(f, CDialogReconstruction::kIdProjection);
  FaceDriver::Click(f, CDialogReconstruction::kIdMethodOptions);
  FaceDriver::Click(f, kIdOk);
}

nlohmann::json Batch(const std::vector<std::string>& args, const QString& folder) {
  const std::string json = QDir(folder).filePath("batch.json").toStdString();
  std::vector<std::string> all = args;
  all.insert(all.end(), {"--json", json});
  std::ostringstream out, err;
  const int status = RunBatch(all, out, err);
  if (status != 0) {
    qWarning("vorel-batch: %s", err.str().c_str());
    return {};
  }
  std::ifstream in(json);
  return nlohmann::json::parse(in);
}

// Every value of a series equals the batch tool's, to the bit (null: missing).
void CompareSeries(const nlohmann::json& values, const MaskedSeries& series, const char* what) {
  QCOMPARE(values.size(), static_cast<size_t>(series.length()));
  for (int t = 1; t <= series.length(); ++t) {
    const nlohmann::json& v = values[t - 1];
    if (!series.isValid(t)) {
      QVERIFY2(v.is_null(), qPrintable(QStringLiteral("%1 %2 should be missing").arg(what).arg(t)));
      continue;
    }
    QVERIFY2(!v.is_null(), qPrintable(QStringLiteral("%1 %2 is missing").arg(what).arg(t)));
    if (v.get<double>() != series.value(t)) {
      QFAIL(qPrintable(QStringLiteral("%1 %2: %3 in the window, %4 in vorel-batch")
                           .arg(what)
                           .arg(t)
                           .arg(series.value(t), 0, 'g', 17)
                           .arg(v.get<double>(), 0, 'g', 17)));
    }
  }
}

}  // namespace

class WholeAnalysisTest : public QObject {
  Q_OBJECT
 private slots:
  void wholeAnalysisThroughTheWidgetsEqualsTheBatchTool();
  void numberFieldThatDoesNotParse();
  void windowLengthOutOfRange();
  void emptyChoiceOfEigentriples();
};

void WholeAnalysisTest::wholeAnalysisThroughTheWidgetsEqualsTheBatchTool() {
  Program p;
  const QString series = QDir(kExamples).filePath("co2-gaps.txt");
  const QString reference = QDir(kExamples).filePath("co2.txt");
  FaceDriver& d = p.driver;

  p.files << series;
  d.Expect("CDialogFileChoice", ChooseFirstColumn);
  p.Run(kCmdOpenData);
  p.ExpectQuiet("open data");
  QCOMPARE(p.document->analysis.length(), 468);

  d.Expect("CDialogCovarianceMatrix", [](DialogFace& f) { Covariance(f, "24"); });
  p.Run(kCmdNextStep);
  p.ExpectQuiet("covariance");
  QCOMPARE(p.document->analysis.windowLength(), 24);
  p.Run(kCmdNextStep);  // the eigenvectors' page
  d.Expect("CDialogEVGrouping", ChooseFour);
  p.Run(kCmdNextStep);
  p.ExpectQuiet("choice of eigentriples");
  d.Expect("CDialogReconstruction", [&d](DialogFace& f) { ProjectionWithOptions(d, f); });
  p.Run(kCmdNextStep);
  p.ExpectQuiet("reconstruction");
  p.Run(kCmdNextStep);  // residuals

  // Comparison with the series without gaps, "From file".
  p.files << reference;
  d.Expect("CDialogComparison",
           [](DialogFace& f) { FaceDriver::Click(f, CDialogComparison::kIdFromFile); });
  d.Expect("CDialogFileChoice", ChooseFirstColumn);
  p.Run(kCmdNextStep);
  p.ExpectQuiet("comparison");

  // Cadzow iterations compared with the same file after every iteration.
  p.files << reference;
  QString compareCaption;
  d.Expect("CDialogCadzow", [&compareCaption](DialogFace& f) {
    FaceDriver::Type(f, CDialogCadzow::kIdIterations, "3");
    FaceDriver::Type(f, CDialogCadzow::kIdWindowLength, "30");
    FaceDriver::Click(f, CDialogCadzow::kIdCompare);
    compareCaption = QString::fromStdString(f.Text(CDialogCadzow::kIdCompare));
    FaceDriver::Click(f, kIdOk);
  });
  d.Expect("CDialogComparison",
           [](DialogFace& f) { FaceDriver::Click(f, CDialogComparison::kIdFromFile); });
  d.Expect("CDialogFileChoice", ChooseFirstColumn);
  p.progress.clear();
  p.Run(kCmdCadzow);
  p.ExpectQuiet("Cadzow iterations");
  QVERIFY2(compareCaption.endsWith("ON"), qPrintable(compareCaption));
  QVERIFY2(p.progress.size() >= 3, qPrintable(p.progress.join(",")));  // the bar moved
  QVERIFY(!p.window->progressBar()->isVisible());
  p.Run(kCmdPageDeviations);
  QCOMPARE(p.document->currentPage, PageDeviations);

  const std::vector<std::string> choices = {
      "--window", "24", "--eigentriples", "1-4", "--method", "projection", "--valid", "pi",
      "--priority", "left,simultaneous,right,both-middle,both-average"};
  std::vector<std::string> args = {series.toStdString()};
  args.insert(args.end(), choices.begin(), choices.end());
  args.insert(args.end(), {"--compare", reference.toStdString(), "--cadzow", "3",
                           "--cadzow-window", "30"});
  const nlohmann::json j = Batch(args, p.folder.path());
  QVERIFY(!j.is_null());
  const SsaAnalysis& a = p.document->analysis;
  QCOMPARE(j["eigenvalues"].size(), size_t{24});
  for (int i = 1; i <= 24; ++i) QCOMPARE(j["eigenvalues"][i - 1].get<double>(), a.eigenvalues.value(i));
  CompareSeries(j["reconstructed"], a.reconstructed, "reconstructed");
  CompareSeries(j["residuals"], a.residuals, "residual");
  CompareSeries(j["deviations"]["total"], a.cadzowDeviationValid, "deviation");
  CompareSeries(j["deviations"]["missing"], a.cadzowDeviationMissing, "deviation at the gaps");

  // The series saved with tab delimiters, and the page as a bitmap.
  const QString saved = QDir(p.folder.path()).filePath("co2-filled.txt");
  p.files << saved;
  d.Expect("CDialogSetDelimiterSave", [](DialogFace& f) {
    FaceDriver::Click(f, CDialogSetDelimiterSave::kIdTab);
    FaceDriver::Click(f, kIdOk);
  });
  p.Run(kCmdSaveSeries);
  p.ExpectQuiet("save series");
  QFile text(saved);
  QVERIFY(text.open(QIODevice::ReadOnly));
  const QList<QByteArray> savedLines = text.readAll().split('\n');
  QCOMPARE(savedLines.value(1), "Source_series\tReconstructed_series\tResiduals");
  QCOMPARE(savedLines.size(), 2 + 468 + 1);
  const QString bitmap = QDir(p.folder.path()).filePath("deviations");
  p.files << bitmap;
  p.Run(kCmdSaveImageBmp);
  p.ExpectQuiet("save image");
  QFile bmp(bitmap + ".bmp");
  QVERIFY(bmp.open(QIODevice::ReadOnly));
  QCOMPARE(bmp.read(2), "BM");

  // The series editor: element 5 gets a new value; the analysis starts again.
  d.Expect("CDialogEditSourceSeries", [](DialogFace& f) {
    using E = CDialogEditSourceSeries;
    FaceDriver::SelectRange(f, E::kIdElements, 4, 4);
    FaceDriver::Type(f, E::kIdNewValue, "320.5");
    FaceDriver::Click(f, E::kIdSetValues);
    QCOMPARE(f.Lines(E::kIdElements)[4], "(5) *  320.500");
    FaceDriver::Click(f, kIdOk);
  });
  p.Run(kCmdEditSourceSeries);
  p.ExpectQuiet("series editor");
  QCOMPARE(p.document->analysis.series.value(5), 320.5);

  d.Expect("CDialogCovarianceMatrix", [](DialogFace& f) { Covariance(f, "24"); });
  p.Run(kCmdNextStep);
  p.Run(kCmdNextStep);
  d.Expect("CDialogEVGrouping", ChooseFour);
  p.Run(kCmdNextStep);
  d.Expect("CDialogReconstruction", [&d](DialogFace& f) { ProjectionWithOptions(d, f); });
  p.Run(kCmdNextStep);
  p.ExpectQuiet("analysis of the edited series");

  // vorel-batch on the same series with the same value changed in the file.
  QFile original(series);
  QVERIFY(original.open(QIODevice::ReadOnly));
  QList<QByteArray> lines = original.readAll().split('\n');
  lines[5] = "320.5";  // line 1 names the column: element 5 is line 6
  const QString edited = QDir(p.folder.path()).filePath("co2-edited.txt");
  QFile out(edited);
  QVERIFY(out.open(QIODevice::WriteOnly));
  out.write(lines.join('\n'));
  out.close();
  args = {edited.toStdString()};
  args.insert(args.end(), choices.begin(), choices.end());
  const nlohmann::json k = Batch(args, p.folder.path());
  QVERIFY(!k.is_null());
  CompareSeries(k["reconstructed"], a.reconstructed, "reconstructed after the edit");
  CompareSeries(k["residuals"], a.residuals, "residual after the edit");
}

namespace {

// Opens the bundled series and reaches the covariance dialog.
void OpenSeries(Program& p) {
  p.files << QDir(kExamples).filePath("co2-gaps.txt");
  p.driver.Expect("CDialogFileChoice", ChooseFirstColumn);
  p.Run(kCmdOpenData);
  p.ExpectQuiet("open data");
}

// What a failing dialog showed: the messages, whether it was still open after
// them and the text left in a field.
struct Seen {
  QStringList messages;
  bool open = false;
  QString text;
};

}  // namespace

void WholeAnalysisTest::numberFieldThatDoesNotParse() {
  Program p;
  OpenSeries(p);
  Seen seen;
  p.driver.Expect("CDialogCovarianceMatrix", [&](DialogFace& f) {
    using C = CDialogCovarianceMatrix;
    FaceDriver::Type(f, C::kIdWindowLength, "2x4");
    FaceDriver::Click(f, kIdOk);
    seen = {p.messages, f.isVisible(), QString::fromStdString(f.Text(C::kIdWindowLength))};
    FaceDriver::Click(f, kIdCancel);
  });
  p.Run(kCmdNextStep);
  QCOMPARE(seen.messages, QStringList{kMessageEnterInteger});
  QVERIFY(seen.open);
  QCOMPARE(seen.text, "2x4");
  QCOMPARE(p.document->nextStep, 31);  // nothing computed
}

void WholeAnalysisTest::windowLengthOutOfRange() {
  Program p;
  OpenSeries(p);
  Seen seen;
  p.driver.Expect("CDialogCovarianceMatrix", [&](DialogFace& f) {
    using C = CDialogCovarianceMatrix;
    FaceDriver::Type(f, C::kIdWindowLength, "500");  // beyond N = 468
    QTest::keyClick(f.control(C::kIdWindowLength), Qt::Key_Return);
    seen = {p.messages, f.isVisible(), QString::fromStdString(f.Text(C::kIdWindowLength))};
    FaceDriver::Click(f, kIdCancel);
  });
  p.Run(kCmdNextStep);
  QCOMPARE(seen.messages, QStringList{ExceptionWindowLength::kMessage});
  QVERIFY(seen.open);
  QCOMPARE(seen.text, "500");
  QCOMPARE(p.document->nextStep, 31);
}

void WholeAnalysisTest::emptyChoiceOfEigentriples() {
  Program p;
  OpenSeries(p);
  p.driver.Expect("CDialogCovarianceMatrix", [](DialogFace& f) { Covariance(f, "24"); });
  p.Run(kCmdNextStep);
  p.Run(kCmdNextStep);
  p.ExpectQuiet("covariance");
  Seen seen;
  std::vector<std::string> notUsed;
  p.driver.Expect("CDialogEVGrouping", [&](DialogFace& f) {
    using E = CDialogEVGrouping;
    FaceDriver::Click(f, E::kIdAllNotUsed);
    FaceDriver::Click(f, kIdOk);
    seen = {p.messages, f.isVisible(), {}};
    notUsed = f.Lines(E::kIdNotUsed);
    FaceDriver::Click(f, kIdCancel);
  });
  const int step = p.document->nextStep;
  p.Run(kCmdNextStep);
  QCOMPARE(seen.messages, QStringList{ExceptionNoEVSelected::kMessage});
  QVERIFY(seen.open);
  QCOMPARE(notUsed.size(), size_t{24});  // the lines as they were
  QCOMPARE(p.document->nextStep, step);
}

QTEST_MAIN(WholeAnalysisTest)
#include "WholeAnalysisTest.moc"
