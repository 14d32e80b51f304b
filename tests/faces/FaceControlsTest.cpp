// Every dialog's face carries every control its logic addresses, with the
// caption and kind of the dialog's template, the exact title, the tab order,
// the default button and the selection mode of its lists.
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <functional>
#include <memory>

#include "FaceHarness.h"
#include "app/dialogs/FaceRegistry.h"
#include "document/CVorelDoc.h"
#include "document/dialogs/CDialogCadzow.h"
#include "document/dialogs/CDialogComparison.h"
#include "document/dialogs/CDialogCovarianceMatrix.h"
#include "document/dialogs/CDialogEVGrouping.h"
#include "document/dialogs/CDialogEditSourceSeries.h"
#include "document/dialogs/CDialogFileChoice.h"
#include "document/dialogs/CDialogGraphOption.h"
#include "document/dialogs/CDialogMVCode.h"
#include "document/dialogs/CDialogProjectionOptions.h"
#include "document/dialogs/CDialogReconstruction.h"
#include "document/dialogs/CDialogSeriesSimulation.h"
#include "document/dialogs/CDialogSetDelimiter.h"
#include "document/dialogs/CDialogSetDelimiterSave.h"
#include "document/dialogs/CDialogWarningNewSL.h"

using namespace vorel;

namespace {

// How a control of the template shows: its widget class and what it offers.
enum class Kind {
  Button,        // push button; caption on the button
  Default,       // the default push button
  Check,         // check box
  Radio,         // radio button
  Edit,          // edit box; caption is the label before it (may be empty)
  ReadOnlyEdit,  // edit box that never takes input
  Static,        // static text; caption is its text before the logic fills it
  Combo,         // drop-down list; caption is its label
  List,          // list box, single selection; caption is its label (may be empty)
  ListExtended,  // list box, extended multiple selection
};

struct Expected {
  int id;
  Kind kind;
  QString caption;
};

struct Case {
  QString title;
  std::function<std::unique_ptr<Dialog>(UiHost&, CVorelDoc&, GraphOptions&)> make;
  // In tab order.
  std::vector<Expected> controls;
};

bool TakesFocus(Kind kind) { return kind != Kind::Static; }

const std::vector<Case>& Cases() {
  using FC = CDialogFileChoice;
  using SD = CDialogSetDelimiter;
  using SS = CDialogSetDelimiterSave;
  using SIM = CDialogSeriesSimulation;
  using ED = CDialogEditSourceSeries;
  using CM = CDialogCovarianceMatrix;
  using EV = CDialogEVGrouping;
  using RC = CDialogReconstruction;
  using PO = CDialogProjectionOptions;
  using CZ = CDialogCadzow;
  using CP = CDialogComparison;
  using GO = CDialogGraphOption;
  static const std::vector<Case> cases = {
      {"Load data from file",
       [](UiHost& h, CVorelDoc& d, GraphOptions&) { return std::make_unique<FC>(h, d); },
       {{FC::kIdOpenFile, Kind::Button, "Open file"},
        {FC::kIdDelimiters, Kind::Button, "Delimiters and decimal separator"},
        {FC::kIdChangeMvCode, Kind::Button, "Change MV code"},
        {FC::kIdFullPath, Kind::ReadOnlyEdit, "Full filename:"},
        {FC::kIdShortName, Kind::ReadOnlyEdit, "Short filename:"},
        {FC::kIdMvCode, Kind::Static, ""},
        {FC::kIdNames, Kind::List, "Series names:"},
        {FC::kIdContents, Kind::List, "Series contents:"},
        {kIdOk, Kind::Default, "Ok"},
        {kIdCancel, Kind::Button, "Cancel"}}},
      {"Delimiters & dec. separator",
       [](UiHost& h, CVorelDoc&, GraphOptions&) { return std::make_unique<SD>(h); },
       {{SD::kIdPoint, Kind::Radio, "Point ' . '"},
        {SD::kIdComma, Kind::Radio, "Comma ' , '"},
        {SD::kIdSpace, Kind::Check, "Space"},
        {SD::kIdTab, Kind::Check, "<Tab>"},
        {SD::kIdSemicolon, Kind::Check, "Semicolon"},
        {SD::kIdCommaDelimiter, Kind::Check, "Comma"},
        {kIdOk, Kind::Default, "Save && Reload"},
        {kIdCancel, Kind::Button, "Cancel"}}},
      {"Missing Value code",
       [](UiHost& h, CVorelDoc&, GraphOptions&) { return std::make_unique<CDialogMVCode>(h); },
       {{CDialogMVCode::kIdCode, Kind::Edit, "Symbols for missing value:"},
        {kIdOk, Kind::Default, "Ok"},
        {kIdCancel, Kind::Button, "Cancel"}}},
      {"Delimiter & dec. separator",
       [](UiHost& h, CVorelDoc&, GraphOptions&) { return std::make_unique<SS>(h); },
       {{SS::kIdPoint, Kind::Radio, "Point ' . '"},
        {SS::kIdComma, Kind::Radio, "Comma ' , '"},
        {SS::kIdSpace, Kind::Radio, "Space"},
        {SS::kIdTab, Kind::Radio, "<Tab>"},
        {kIdOk, Kind::Default, "Ok"},
        {kIdCancel, Kind::Button, "Cancel"}}},
      {"Series simulation",
       [](UiHost& h, CVorelDoc&, GraphOptions&) { return std::make_unique<SIM>(h); },
       {{SIM::kIdComponents, Kind::List, "Resultant series:"},
        {SIM::kIdLength, Kind::Edit, "Series length:"},
        {SIM::kIdDelete, Kind::Button, "Delete selected series"},
        {SIM::kIdValue, Kind::Edit, "Value:"},
        {SIM::kIdAddConstant, Kind::Button, "Add constant series"},
        {SIM::kIdUniform, Kind::Radio, "Uniform(0,S)"},
        {SIM::kIdNormal, Kind::Radio, "N(0,S)"},
        {SIM::kIdStandard, Kind::Edit, "Standard (S):"},
        {SIM::kIdAddNoise, Kind::Button, "Add noise"},
        {SIM::kIdA, Kind::Edit, "A:"},
        {SIM::kIdGamma, Kind::Edit, "gamma:"},
        {SIM::kIdAlpha, Kind::Edit, "alpha:"},
        {SIM::kIdPhi, Kind::Edit, "phi:"},
        {SIM::kIdAddCosine, Kind::Button, "Add exp*cos"},
        {kIdOk, Kind::Default, "Ok"},
        {kIdCancel, Kind::Button, "Cancel"}}},
      {"Edit source series",
       [](UiHost& h, CVorelDoc&, GraphOptions&) { return std::make_unique<ED>(h); },
       {{ED::kIdElements, Kind::ListExtended, ""},
        {ED::kIdNewValue, Kind::Edit, "New value:"},
        {ED::kIdSetValues, Kind::Button, "Set new value(s)"},
        {ED::kIdSetMissing, Kind::Button, "Set missing value(s)"},
        {ED::kIdRestore, Kind::Button, "Restore value(s)"},
        {ED::kIdRestoreAll, Kind::Button, "Restore ALL values"},
        {ED::kIdNewLength, Kind::Edit, "New series length:"},
        {ED::kIdChangeLength, Kind::Button, "Change series length"},
        {kIdOk, Kind::Default, "Ok"},
        {kIdCancel, Kind::Button, "Cancel"}}},
      {"Attention!",
       [](UiHost& h, CVorelDoc&, GraphOptions&) { return std::make_unique<CDialogWarningNewSL>(h); },
       {{CDialogWarningNewSL::kIdText, Kind::Static,
         "Attention!\nPart of series values will be lost: you set the series length less than "
         "the initial series lenght."},
        {kIdOk, Kind::Default, "Apply changes"},
        {kIdCancel, Kind::Button, "Cancel changes"}}},
      {"Covariance matrix",
       [](UiHost& h, CVorelDoc& d, GraphOptions&) { return std::make_unique<CM>(h, d); },
       {{CM::kIdWindowLength, Kind::Edit, "WINDOW LENGTH:\n(1< WL <Ser.Len.-1)"},
        {CM::kIdSvd, Kind::Radio, "<<SVD>>"},
        {CM::kIdToeplitz, Kind::Radio, "<<Toeplitz>>"},
        {CM::kIdThreshold, Kind::Edit, "Threshold for number of missing components:"},
        {CM::kIdAdditionalInfo, Kind::Button, "Additional information"},
        {kIdOk, Kind::Default, "Ok"},
        {kIdCancel, Kind::Button, "Cancel"}}},
      {QString::fromUtf8("Choice of eigenve\xD1\x81tors"),
       [](UiHost& h, CVorelDoc& d, GraphOptions&) { return std::make_unique<EV>(h, d); },
       {{EV::kIdNotUsed, Kind::ListExtended, "Not used:"},
        {EV::kIdMoveToUsed, Kind::Button, ">>>"},
        {EV::kIdMoveToNotUsed, Kind::Button, "<<<"},
        {EV::kIdAllUsed, Kind::Button, "All >"},
        {EV::kIdAllNotUsed, Kind::Button, "All <"},
        {EV::kIdUsed, Kind::ListExtended, "Used:"},
        {kIdOk, Kind::Default, "Ok"},
        {kIdCancel, Kind::Button, "Cancel"}}},
      {"Reconstruction",
       [](UiHost& h, CVorelDoc& d, GraphOptions&) { return std::make_unique<RC>(h, d); },
       {{RC::kIdPrincipalComponents, Kind::Radio, "<<Principal components>>"},
        {RC::kIdProjection, Kind::Radio, "<<Projection>>"},
        {RC::kIdApplicability, Kind::Static, "Applicability of PC"},
        {RC::kIdMethodOptions, Kind::Button, "Method options"},
        {kIdOk, Kind::Default, "Ok"},
        {kIdCancel, Kind::Button, "Cancel"}}},
      {"<<Projection>> method options",
       [](UiHost& h, CVorelDoc&, GraphOptions&) { return std::make_unique<PO>(h); },
       {{1079, Kind::Static, "Methods for valid components' entries:"},
        {PO::kIdValidEntriesCovered, Kind::Static, ""},
        {PO::kIdCnvBothSides, Kind::Static, ""},
        {PO::kIdCnvLeft, Kind::Static, ""},
        {PO::kIdCnvRight, Kind::Static, ""},
        {PO::kIdPiProjector, Kind::Static, ""},
        {PO::kIdMissingEntriesCovered, Kind::Static, ""},
        {PO::kIdSimultaneous, Kind::Static, ""},
        {PO::kIdSequentialLeft, Kind::Static, ""},
        {PO::kIdSequentialRight, Kind::Static, ""},
        {PO::kIdSequentialBothSides, Kind::Static, ""},
        {PO::kIdValidChoice, Kind::Combo, "For valid components' entries:"},
        {PO::kIdPriorityList, Kind::List, "For missing components' entries:"},
        {PO::kIdUp, Kind::Button, "Up"},
        {PO::kIdDown, Kind::Button, "Down"},
        {kIdOk, Kind::Default, "Ok"},
        {kIdCancel, Kind::Button, "Cancel"}}},
      {"Cadzow method",
       [](UiHost& h, CVorelDoc& d, GraphOptions&) { return std::make_unique<CZ>(h, d); },
       {{CZ::kIdIterations, Kind::Edit, "Number of iterations:"},
        {CZ::kIdWindowLength, Kind::Edit, "Window length for iterations:"},
        {CZ::kIdCompare, Kind::Button, "Compare iterations with a given time series   OFF"},
        {kIdOk, Kind::Default, "Ok"},
        {kIdCancel, Kind::Button, "Cancel"}}},
      {"Comparison of reconstructed series ",
       [](UiHost& h, CVorelDoc& d, GraphOptions&) { return std::make_unique<CP>(h, d); },
       {{CP::kIdFromFile, Kind::Button, "From file"},
        {CP::kIdGenerate, Kind::Button, "Generate"},
        {kIdCancel, Kind::Button, "Cancel"}}},
      {"Graphic options",
       [](UiHost& h, CVorelDoc&, GraphOptions& o) { return std::make_unique<GO>(h, o, 100); },
       {{GO::kIdAutoX, Kind::Check, "Auto"},
        {GO::kIdXMinimum, Kind::Edit, "Minimum"},
        {GO::kIdXMaximum, Kind::Edit, "Maximum"},
        {GO::kIdAutoY, Kind::Check, "Auto"},
        {GO::kIdYMinimum, Kind::Edit, "Minimum"},
        {GO::kIdYMaximum, Kind::Edit, "Maximum"},
        {GO::kIdFontHeight, Kind::Edit, "Height:"},
        {GO::kIdPrecision, Kind::Edit, "Precision:"},
        {GO::kIdShowPoints, Kind::Check, "Show points"},
        {GO::kIdShowMV, Kind::Check, "Mark missing data places"},
        {GO::kIdMonochrome, Kind::Check, "Monochrome view"},
        {GO::kIdShowLegends, Kind::Check, "Show legends"},
        {GO::kIdShowScale, Kind::Check, "Show scale labels"},
        {GO::kIdShowGrid, Kind::Check, "Show grid"},
        {kIdOk, Kind::Default, "Ok"},
        {kIdCancel, Kind::Button, "Cancel"}}},
  };
  return cases;
}

// The group box around a widget, "" when none.
QString GroupOf(const QWidget* w) {
  for (const QWidget* p = w->parentWidget(); p != nullptr; p = p->parentWidget()) {
    if (auto* box = qobject_cast<const QGroupBox*>(p)) return box->title();
  }
  return {};
}

}  // namespace

class FaceControlsTest : public QObject {
  Q_OBJECT
 private slots:
  void everyControlOfTheLogic_data();
  void everyControlOfTheLogic();
  void groupBoxes_data();
  void groupBoxes();
  void everyLogicClassHasItsFace();
};

void FaceControlsTest::everyControlOfTheLogic_data() {
  QTest::addColumn<int>("index");
  for (size_t i = 0; i < Cases().size(); ++i) {
    QTest::newRow(Cases()[i].title.toUtf8().constData()) << static_cast<int>(i);
  }
}

void FaceControlsTest::everyControlOfTheLogic() {
  QFETCH(int, index);
  const Case& c = Cases()[index];
  test::RecordingHost host;
  CVorelDoc doc(host);
  GraphOptions options;
  const std::unique_ptr<Dialog> dialog = c.make(host, doc, options);
  const std::unique_ptr<DialogFace> face = MakeFace(*dialog, nullptr);
  QVERIFY2(face != nullptr, dialog->className());
  QCOMPARE(face->windowTitle(), c.title);

  std::vector<QWidget*> focusOrder;
  int defaults = 0;
  for (const Expected& e : c.controls) {
    const QString where = QStringLiteral("control %1").arg(e.id);
    QWidget* w = face->control(e.id);
    QVERIFY2(w != nullptr, qPrintable(where + " is missing"));
    QCOMPARE(w->objectName(), QString::number(e.id));
    QCOMPARE(face->findChildren<QWidget*>(QString::number(e.id)).size(), 1);
    auto* label = face->labelOf(e.id);
    const QString labelText = label != nullptr ? label->text() : QString();
    switch (e.kind) {
      case Kind::Button:
      case Kind::Default: {
        auto* b = qobject_cast<QPushButton*>(w);
        QVERIFY2(b != nullptr, qPrintable(where + " is no push button"));
        QCOMPARE(b->text(), e.caption);
        QCOMPARE(b->isDefault(), e.kind == Kind::Default);
        defaults += b->isDefault() ? 1 : 0;
        break;
      }
      case Kind::Check:
        QVERIFY2(qobject_cast<QCheckBox*>(w) != nullptr, qPrintable(where + " is no check box"));
        QCOMPARE(qobject_cast<QCheckBox*>(w)->text(), e.caption);
        break;
      case Kind::Radio:
        QVERIFY2(qobject_cast<QRadioButton*>(w) != nullptr, qPrintable(where + " is no radio"));
        QCOMPARE(qobject_cast<QRadioButton*>(w)->text(), e.caption);
        break;
      case Kind::Edit:
      case Kind::ReadOnlyEdit: {
        auto* edit = qobject_cast<QLineEdit*>(w);
        QVERIFY2(edit != nullptr, qPrintable(where + " is no edit box"));
        QCOMPARE(edit->isReadOnly(), e.kind == Kind::ReadOnlyEdit);
        QCOMPARE(labelText, e.caption);
        if (label != nullptr) QCOMPARE(label->buddy(), w);
        break;
      }
      case Kind::Static:
        QVERIFY2(qobject_cast<QLabel*>(w) != nullptr, qPrintable(where + " is no static"));
        QCOMPARE(qobject_cast<QLabel*>(w)->text(), e.caption);
        break;
      case Kind::Combo:
        QVERIFY2(qobject_cast<QComboBox*>(w) != nullptr, qPrintable(where + " is no combo"));
        QVERIFY(!qobject_cast<QComboBox*>(w)->isEditable());
        QCOMPARE(labelText, e.caption);
        break;
      case Kind::List:
      case Kind::ListExtended: {
        auto* view = qobject_cast<QListView*>(w);
        QVERIFY2(view != nullptr, qPrintable(where + " is no list box"));
        QCOMPARE(view->selectionMode(), e.kind == Kind::List
                                            ? QAbstractItemView::SingleSelection
                                            : QAbstractItemView::ExtendedSelection);
        QCOMPARE(labelText, e.caption);
        break;
      }
    }
    if (TakesFocus(e.kind)) {
      QVERIFY2(w->focusPolicy() & Qt::TabFocus, qPrintable(where + " takes no tab focus"));
      focusOrder.push_back(w);
    }
  }
  QVERIFY(defaults <= 1);

  // Tab order: each control's next in the focus chain (skipping widgets that
  // take no tab focus, such as labels) is the next control of the template.
  for (size_t i = 0; i + 1 < focusOrder.size(); ++i) {
    QWidget* next = focusOrder[i]->nextInFocusChain();
    while (next != nullptr && !(next->focusPolicy() & Qt::TabFocus)) next = next->nextInFocusChain();
    QCOMPARE(next != nullptr ? next->objectName() : QString(), focusOrder[i + 1]->objectName());
  }
}

void FaceControlsTest::groupBoxes_data() {
  QTest::addColumn<QString>("className");
  QTest::addColumn<int>("id");
  QTest::addColumn<QString>("group");
  auto row = [](const char* cls, int id, const char* group) {
    QTest::addRow("%s %d", cls, id) << QString(cls) << id << QString(group);
  };
  row("CDialogGraphOption", CDialogGraphOption::kIdAutoX, "Axis X scale range");
  row("CDialogGraphOption", CDialogGraphOption::kIdXMaximum, "Axis X scale range");
  row("CDialogGraphOption", CDialogGraphOption::kIdAutoY, "Axis Y scale range");
  row("CDialogGraphOption", CDialogGraphOption::kIdYMinimum, "Axis Y scale range");
  row("CDialogGraphOption", CDialogGraphOption::kIdFontHeight, "Font");
  row("CDialogGraphOption", CDialogGraphOption::kIdPrecision, "Scale");
  row("CDialogGraphOption", CDialogGraphOption::kIdShowGrid, "");
  row("CDialogSeriesSimulation", CDialogSeriesSimulation::kIdValue, "Constant series");
  row("CDialogSeriesSimulation", CDialogSeriesSimulation::kIdNormal, "Distribution");
  row("CDialogSeriesSimulation", CDialogSeriesSimulation::kIdPhi, "EXP * COS");
  row("CDialogSeriesSimulation", CDialogSeriesSimulation::kIdComponents, "");
  row("CDialogComparison", CDialogComparison::kIdFromFile, "Time series for comparison");
  row("CDialogComparison", CDialogComparison::kIdGenerate, "Time series for comparison");
  row("CDialogCovarianceMatrix", CDialogCovarianceMatrix::kIdToeplitz, "CM calculation method");
  row("CDialogCovarianceMatrix", CDialogCovarianceMatrix::kIdWindowLength, "");
  row("CDialogReconstruction", CDialogReconstruction::kIdProjection, "Reconstruction method");
  row("CDialogReconstruction", CDialogReconstruction::kIdMethodOptions, "");
}

void FaceControlsTest::groupBoxes() {
  QFETCH(QString, className);
  QFETCH(int, id);
  QFETCH(QString, group);
  const FaceDescription* description = FindFaceDescription(className.toStdString());
  QVERIFY(description != nullptr);
  DialogFace face(*description);
  QVERIFY(face.control(id) != nullptr);
  QCOMPARE(GroupOf(face.control(id)), group);
}

void FaceControlsTest::everyLogicClassHasItsFace() {
  // One face per class, each found by its class name; no face for an unknown class.
  test::RecordingHost host;
  CVorelDoc doc(host);
  GraphOptions options;
  QStringList classes;
  for (const Case& c : Cases()) {
    const std::unique_ptr<Dialog> dialog = c.make(host, doc, options);
    const FaceDescription* description = FindFaceDescription(dialog->className());
    QVERIFY2(description != nullptr, dialog->className());
    QCOMPARE(QString::fromStdString(description->title), c.title);
    classes << dialog->className();
  }
  classes.removeDuplicates();
  QCOMPARE(classes.size(), 14);
  QCOMPARE(AllFaceDescriptions().size(), size_t{14});
  QVERIFY(FindFaceDescription("CDialogNoSuchThing") == nullptr);
}

QTEST_MAIN(FaceControlsTest)
#include "FaceControlsTest.moc"
