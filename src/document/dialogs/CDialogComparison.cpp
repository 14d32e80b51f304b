#include "document/dialogs/CDialogComparison.h"

#include "document/CVorelDoc.h"
#include "document/dialogs/CDialogFileChoice.h"
#include "document/dialogs/CDialogSeriesSimulation.h"
#include "engine/AbstractException.h"

namespace vorel {

inline constexpr const char* kMessageEmptySeries = "Attention!\nThere is an empty series selected.";

CDialogComparison::CDialogComparison(UiHost& host, CVorelDoc& doc)
    : Dialog(host, "Comparison of reconstructed series "), document(&doc) {}

void CDialogComparison::OnButton(int id) {
  if (id == kIdFromFile) {
    OnFromFile();
  } else if (id == kIdGenerate) {
    OnGenerate();
  }
}

void CDialogComparison::OnFromFile() {
  CVorelDoc& doc = *document;
  const std::string keptPath = doc.dataFilePath;
  const MaskedSeries keptSeries = doc.analysis.series;
  const int N = doc.analysis.length();

  CDialogFileChoice files(host(), doc);
  files.mvCodeDisplay = QuotedMvCode(doc.mvCode);
  files.format = doc.compareFormat;
  if (!doc.compareFilePath.empty()) {
    // The table holds whatever file was read last: read the comparison file
    // again so that the names, the contents and the chosen column are its own.
    try {
      files.ReadFile(doc.compareFilePath);
    } catch (const AbstractException& e) {
      host().MessageBox(e.message());
    }
  }
  for (;;) {
    if (host().RunModal(files) != DialogResult::Ok) break;
    doc.compareFormat = files.format;
    if (!files.columnChosen) continue;
    if (doc.DataTable.rows() != N || files.chosen.length() != N) {
      doc.comparisonFromFile = false;
      host().MessageBox(kMessageLengthsDiffer);
      continue;
    }
    doc.comparisonSeries = files.chosen;
    doc.compareFilePath = files.filePath;
    doc.compareFileName = LastPathComponent(files.filePath);
    doc.comparisonFromFile = true;
    EndDialog(DialogResult::Ok);
    break;
  }
  doc.analysis.series = keptSeries;
  doc.dataFilePath = keptPath;
  doc.Redraw();
}

void CDialogComparison::OnGenerate() {
  CVorelDoc& doc = *document;
  const int N = doc.analysis.length();
  CDialogSeriesSimulation simulation(host());
  simulation.SetCaptions("Comparison with the simulated series", "Ok");
  simulation.seriesLength = N;
  if (doc.comparisonComponents.empty()) {
    doc.comparisonComponents = CopyComponents(doc.sourceComponents);
  }
  simulation.components = CopyComponents(doc.comparisonComponents);
  for (;;) {
    if (host().RunModal(simulation) != DialogResult::Ok) return;
    if (simulation.seriesLength != N) {
      host().MessageBox(kMessageLengthsDiffer);
      continue;
    }
    // Noise is not kept: the reference is the deterministic part of the list.
    doc.comparisonComponents.clear();
    for (const auto& c : simulation.components) {
      if (c->kind() == "cosine" || c->kind() == "const") {
        doc.comparisonComponents.push_back(c->Clone());
      }
    }
    if (simulation.components.empty()) {
      host().MessageBox(kMessageEmptySeries);
      continue;
    }
    break;
  }
  host().RunLongWork(
      [&doc, N] { doc.comparisonSeries = SampleComponents(doc.comparisonComponents, N); });
  doc.comparisonFromFile = false;
  EndDialog(DialogResult::Ok);
}

}  // namespace vorel
