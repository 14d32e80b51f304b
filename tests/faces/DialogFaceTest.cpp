// DialogControls over real widgets: what the dialogs' logic writes reads back
// the same, the widgets show it, and the user's clicks, double clicks and keys
// reach the logic as the face's signals.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStringListModel>
#include <QtTest>

#include "FaceHarness.h"
#include "app/dialogs/DialogFace.h"
#include "document/dialogs/CDialogGraphOption.h"
#include "document/dialogs/CDialogSetDelimiter.h"

using namespace vorel;

namespace {

enum Id : int {
  kEdit = 100,
  kStatic = 101,
  kCheck = 102,
  kRadioA = 103,
  kRadioB = 104,
  kRadioC = 105,
  kOtherRadio = 106,
  kCombo = 107,
  kSingle = 108,
  kExtended = 109,
  kGo = 110,
  kSecondEdit = 111,
};

FaceDescription Sample() {
  return {"Sample",
          "Sample dialog",
          {
              Edit(kEdit, "&Name:").At(0, 0),
              Static(kStatic, "first text").At(1, 0),
              Check(kCheck, "Check").At(2, 0),
              Group("Choice").At(3, 0),
              Radio(kRadioA, "A").In("Choice").At(0, 0),
              Radio(kRadioB, "B").In("Choice").At(0, 1),
              Radio(kRadioC, "C").In("Choice").At(0, 2),
              Group("Other").At(3, 1),
              Radio(kOtherRadio, "Other").In("Other").At(0, 0),
              Combo(kCombo, "Combo:").At(4, 0),
              List(kSingle, "Single:").At(5, 0),
              ListExtended(kExtended, "Extended:").At(5, 1),
              Button(kGo, "&Go").At(6, 0),
              Edit(kSecondEdit, "Second:").At(7, 0),
              DefaultButton(kIdOk, "Ok").At(kButtonBar, 0),
              Button(kIdCancel, "Cancel").At(kButtonBar, 0),
          }};
}

std::vector<std::string> Numbered(int count) {
  std::vector<std::string> lines;
  lines.reserve(count);
  for (int i = 1; i <= count; ++i) lines.push_back("(" + std::to_string(i) + ")  " + std::to_string(i * 0.5));
  return lines;
}

// The centre of a list row in the view's viewport.
QPoint RowCentre(QListView* view, int row) {
  return view->visualRect(view->model()->index(row, 0)).center();
}

// Clicks a button where its text begins: a check box or radio button wider than
// its indicator and text takes no click at its centre.
void Click(QWidget* button, Qt::KeyboardModifiers modifiers = {}) {
  QTest::mouseClick(button, Qt::LeftButton, modifiers, QPoint(6, button->height() / 2));
}

}  // namespace

class DialogFaceTest : public QObject {
  Q_OBJECT
 private slots:
  void textsRoundTripThroughTheWidgets();
  void statesOfChecksRadioGroupsAndCombos();
  void linesAndSelectionOfLists();
  void longListOpensAtOnceAndKeepsALongSelection();
  void enabledAndReadOnlyShowOnTheWidgets();
  void unknownControlsReadEmpty();
  void clicksReachTheLogicWithTheNewState();
  void doubleClickSelectsTheRowFirst();
  void escapeAndCloseAreCancelAndKeepTheFaceOpen();
  void enterPressesTheDefaultButtonAndMnemonicsWork();
  void graphOptionsXAndYEditsFollowTheirAutoBoxes();
  void delimiterCommaBoxShownPushedWhileDecimalIsComma();
};

void DialogFaceTest::textsRoundTripThroughTheWidgets() {
  DialogFace face(Sample());
  const std::string utf8 = "Choice of eigenve\xD1\x81tors 1.5e-07";
  face.SetText(kEdit, utf8);
  QCOMPARE(face.Text(kEdit), utf8);
  QCOMPARE(qobject_cast<QLineEdit*>(face.control(kEdit))->text(), QString::fromUtf8(utf8.c_str()));
  // Statics show the text as it is, ampersands and line breaks included.
  face.SetText(kStatic, "YES & NO\nnext line");
  QCOMPARE(face.Text(kStatic), "YES & NO\nnext line");
  QCOMPARE(qobject_cast<QLabel*>(face.control(kStatic))->textFormat(), Qt::PlainText);
  face.SetText(kIdOk, "Simulate");
  QCOMPARE(qobject_cast<QPushButton*>(face.control(kIdOk))->text(), "Simulate");
  QCOMPARE(face.Text(kIdOk), "Simulate");
  // Control 0 is the window: its title.
  QCOMPARE(face.Text(0), "Sample dialog");
  face.SetText(0, "Comparison with the simulated series");
  QCOMPARE(face.windowTitle(), "Comparison with the simulated series");
  QCOMPARE(face.Text(0), "Comparison with the simulated series");
  // What the user types is what the logic reads.
  auto* second = qobject_cast<QLineEdit*>(face.control(kSecondEdit));
  second->clear();
  QTest::keyClicks(second, "12x");
  QCOMPARE(face.Text(kSecondEdit), "12x");
}

void DialogFaceTest::statesOfChecksRadioGroupsAndCombos() {
  DialogFace face(Sample());
  face.SetState(kCheck, 1);
  QVERIFY(qobject_cast<QCheckBox*>(face.control(kCheck))->isChecked());
  QCOMPARE(face.State(kCheck), 1);
  face.SetState(kCheck, 0);
  QCOMPARE(face.State(kCheck), 0);

  // A radio group is addressed by its first button; -1 when none is chosen.
  QCOMPARE(face.State(kRadioA), -1);
  face.SetState(kRadioA, 2);
  QVERIFY(qobject_cast<QRadioButton*>(face.control(kRadioC))->isChecked());
  QCOMPARE(face.State(kRadioA), 2);
  face.SetState(kRadioA, 1);
  QCOMPARE(face.State(kRadioA), 1);
  QVERIFY(!qobject_cast<QRadioButton*>(face.control(kRadioC))->isChecked());
  // The next group box holds its own group.
  face.SetState(kOtherRadio, 0);
  QCOMPARE(face.State(kOtherRadio), 0);
  QCOMPARE(face.State(kRadioA), 1);
  face.SetState(kRadioA, -1);
  QCOMPARE(face.State(kRadioA), -1);
  Click(face.control(kRadioC));
  QCOMPARE(face.State(kRadioA), 2);

  // Setting a combo's items leaves none chosen.
  face.SetLines(kCombo, {"Components of neighbour vectors (CNV)", "PI projector"});
  QCOMPARE(face.State(kCombo), -1);
  QCOMPARE(face.Lines(kCombo), (std::vector<std::string>{"Components of neighbour vectors (CNV)",
                                                        "PI projector"}));
  face.SetState(kCombo, 1);
  QCOMPARE(qobject_cast<QComboBox*>(face.control(kCombo))->currentText(), "PI projector");
  QCOMPARE(face.State(kCombo), 1);
  face.SetState(kCombo, 5);
  QCOMPARE(face.State(kCombo), -1);
}

void DialogFaceTest::linesAndSelectionOfLists() {
  DialogFace face(Sample());
  const std::vector<std::string> lines = {"  1 (50.000 %)", "  2 (30.000 %)", "  3 (20.000 %)",
                                          "  4 (0.000 %)"};
  face.SetLines(kExtended, lines);
  QCOMPARE(face.Lines(kExtended), lines);
  QCOMPARE(face.listView(kExtended)->model()->rowCount(), 4);
  QCOMPARE(face.listView(kExtended)->model()->index(2, 0).data().toString(), "  3 (20.000 %)");

  // Ascending, without duplicates, rows outside the list ignored.
  face.SetSelection(kExtended, {3, 0, 9, -1, 3});
  QCOMPARE(face.Selection(kExtended), (std::vector<int>{0, 3}));
  QVERIFY(face.listView(kExtended)->selectionModel()->isRowSelected(3, {}));
  // Setting the lines again leaves no row selected.
  face.SetLines(kExtended, lines);
  QVERIFY(face.Selection(kExtended).empty());

  // A single-selection list keeps one row.
  face.SetLines(kSingle, {"a", "b", "c"});
  face.SetSelection(kSingle, {2, 1});
  QCOMPARE(face.Selection(kSingle), std::vector<int>{1});
  face.SetSelection(kSingle, {});
  QVERIFY(face.Selection(kSingle).empty());

  // Extended selection by the user: click, then shift+click.
  face.SetLines(kExtended, lines);
  face.show();
  QVERIFY(QTest::qWaitForWindowExposed(&face));
  QListView* view = face.listView(kExtended);
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, RowCentre(view, 1));
  QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ShiftModifier, RowCentre(view, 3));
  QCOMPARE(face.Selection(kExtended), (std::vector<int>{1, 2, 3}));
  QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ControlModifier, RowCentre(view, 2));
  QCOMPARE(face.Selection(kExtended), (std::vector<int>{1, 3}));
}

void DialogFaceTest::longListOpensAtOnceAndKeepsALongSelection() {
  // The editor's list of a 100,000-point series: one model, not one item per line.
  DialogFace face(Sample());
  const std::vector<std::string> lines = Numbered(100000);
  face.SetLines(kExtended, lines);
  QCOMPARE(face.listView(kExtended)->model()->rowCount(), 100000);
  QVERIFY(qobject_cast<QStringListModel*>(face.listView(kExtended)->model()) != nullptr);
  QCOMPARE(face.Lines(kExtended).back(), lines.back());
  std::vector<int> rows;
  for (int r = 0; r < 100000; r += 2) rows.push_back(r);
  for (int r = 40000; r < 60000; ++r) rows.push_back(r);
  face.SetSelection(kExtended, rows);
  const std::vector<int> selected = face.Selection(kExtended);
  QCOMPARE(selected.size(), size_t{50000 + 10000});
  QCOMPARE(selected.front(), 0);
  QCOMPARE(selected.back(), 99998);
  QVERIFY(std::is_sorted(selected.begin(), selected.end()));
  face.show();
  QVERIFY(QTest::qWaitForWindowExposed(&face));
}

void DialogFaceTest::enabledAndReadOnlyShowOnTheWidgets() {
  DialogFace face(Sample());
  // Every control starts enabled, every edit editable.
  for (int id : std::vector<int>{kEdit, kCheck, kRadioB, kCombo, kSingle, kGo, kIdOk}) QVERIFY(face.Enabled(id));
  QVERIFY(!face.ReadOnly(kEdit));

  face.SetEnabled(kEdit, false);
  QVERIFY(!face.control(kEdit)->isEnabled());
  QVERIFY(!face.labelOf(kEdit)->isEnabled());  // its label with it
  QVERIFY(!face.Enabled(kEdit));
  face.SetEnabled(kGo, false);
  QSignalSpy clicks(&face, &DialogFace::commandClicked);
  face.show();
  QVERIFY(QTest::qWaitForWindowExposed(&face));
  Click(face.control(kGo));
  QCOMPARE(clicks.count(), 0);  // a disabled button sends nothing
  face.SetEnabled(kEdit, true);
  QVERIFY(face.Enabled(kEdit) && face.labelOf(kEdit)->isEnabled());

  face.SetText(kSecondEdit, "5");
  face.SetReadOnly(kSecondEdit, true);
  QVERIFY(face.ReadOnly(kSecondEdit));
  auto* edit = qobject_cast<QLineEdit*>(face.control(kSecondEdit));
  QVERIFY(edit->isReadOnly());
  edit->setFocus();
  QTest::keyClicks(edit, "99");
  QCOMPARE(face.Text(kSecondEdit), "5");  // typing changes nothing
  face.SetReadOnly(kSecondEdit, false);
  edit->setCursorPosition(1);
  QTest::keyClicks(edit, "9");
  QCOMPARE(face.Text(kSecondEdit), "59");
  QVERIFY(!face.ReadOnly(kCheck));  // only edits are read-only
}

void DialogFaceTest::unknownControlsReadEmpty() {
  DialogFace face(Sample());
  face.SetText(999, "x");
  face.SetState(999, 1);
  face.SetLines(999, {"a"});
  QCOMPARE(face.Text(999), "");
  QCOMPARE(face.State(999), -1);
  QVERIFY(face.Lines(999).empty());
  QVERIFY(face.Selection(999).empty());
  QVERIFY(face.Enabled(999));
  QVERIFY(!face.ReadOnly(999));
}

void DialogFaceTest::clicksReachTheLogicWithTheNewState() {
  DialogFace face(Sample());
  face.show();
  QVERIFY(QTest::qWaitForWindowExposed(&face));
  // (id, state when the handler ran; a push button reads 0)
  std::vector<std::pair<int, int>> seen;
  QObject::connect(&face, &DialogFace::commandClicked, &face,
                   [&](int id) { seen.emplace_back(id, face.State(id == kRadioB ? kRadioA : id)); });
  Click(face.control(kCheck));
  Click(face.control(kRadioB));
  Click(face.control(kGo));
  Click(face.control(kIdOk));
  Click(face.control(kIdCancel));
  const std::vector<std::pair<int, int>> expected = {
      {kCheck, 1}, {kRadioB, 1}, {kGo, 0}, {kIdOk, 0}, {kIdCancel, 0}};
  QCOMPARE(seen, expected);
  // OK and Cancel only report: the face stays open until its host closes it.
  QVERIFY(face.isVisible());
}

void DialogFaceTest::doubleClickSelectsTheRowFirst() {
  DialogFace face(Sample());
  face.SetLines(kSingle, {"(1)  1.000", "(2)  MV", "(3)  3.000"});
  face.show();
  QVERIFY(QTest::qWaitForWindowExposed(&face));
  std::vector<int> selectionSeen;
  QSignalSpy doubles(&face, &DialogFace::listDoubleClicked);
  QObject::connect(&face, &DialogFace::listDoubleClicked, &face,
                   [&](int id) { selectionSeen = face.Selection(id); });
  QListView* view = face.listView(kSingle);
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, RowCentre(view, 2));
  face.SetSelection(kSingle, {0});  // the logic moved the selection meanwhile
  QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, RowCentre(view, 2));
  QCOMPARE(doubles.count(), 1);
  QCOMPARE(doubles.front().front().toInt(), int{kSingle});
  QCOMPARE(selectionSeen, std::vector<int>{2});
}

void DialogFaceTest::escapeAndCloseAreCancelAndKeepTheFaceOpen() {
  DialogFace face(Sample());
  face.show();
  QVERIFY(QTest::qWaitForWindowExposed(&face));
  QSignalSpy clicks(&face, &DialogFace::commandClicked);
  QTest::keyClick(face.control(kEdit), Qt::Key_Escape);
  QCOMPARE(clicks.count(), 1);
  QCOMPARE(clicks.takeFirst().front().toInt(), kIdCancel);
  QVERIFY(face.isVisible());
  face.close();  // the title bar's close button
  QCOMPARE(clicks.count(), 1);
  QCOMPARE(clicks.takeFirst().front().toInt(), kIdCancel);
  QVERIFY(face.isVisible());
  // The host ends it.
  face.done(QDialog::Rejected);
  QVERIFY(!face.isVisible());
}

void DialogFaceTest::enterPressesTheDefaultButtonAndMnemonicsWork() {
  DialogFace face(Sample());
  face.show();
  QVERIFY(QTest::qWaitForWindowActive(&face));
  QSignalSpy clicks(&face, &DialogFace::commandClicked);
  face.control(kSecondEdit)->setFocus();
  QTest::keyClick(face.control(kSecondEdit), Qt::Key_Return);
  QCOMPARE(clicks.count(), 1);
  QCOMPARE(clicks.takeFirst().front().toInt(), kIdOk);
  // "&Go": Alt+G presses it; "&Name:" takes the focus to its edit.
  QTest::keyClick(&face, Qt::Key_G, Qt::AltModifier);
  QTRY_COMPARE(clicks.count(), 1);  // a mnemonic animates the click
  QCOMPARE(clicks.takeFirst().front().toInt(), int{kGo});
  QTest::keyClick(&face, Qt::Key_N, Qt::AltModifier);
  QCOMPARE(QApplication::focusWidget(), face.control(kEdit));
}

void DialogFaceTest::graphOptionsXAndYEditsFollowTheirAutoBoxes() {
  test::RecordingHost host;
  GraphOptions options;
  options.AutoX = true;
  options.AutoY = false;
  options.XLeftBound = 1;
  options.XRightBound = 50;
  options.YLowerBound = -2.5;
  options.YUpperBound = 7.25;
  CDialogGraphOption dialog(host, options, 50);
  test::FaceSession session(dialog);
  DialogFace& face = *session.face();
  face.show();
  QVERIFY(QTest::qWaitForWindowExposed(&face));
  using D = CDialogGraphOption;
  auto edit = [&](int id) { return qobject_cast<QLineEdit*>(face.control(id)); };
  QCOMPARE(edit(D::kIdYMinimum)->text(), "-2.5");
  QCOMPARE(edit(D::kIdYMaximum)->text(), "7.25");
  QVERIFY(edit(D::kIdXMinimum)->isReadOnly() && edit(D::kIdXMaximum)->isReadOnly());
  QVERIFY(!edit(D::kIdYMinimum)->isReadOnly() && !edit(D::kIdYMaximum)->isReadOnly());

  Click(face.control(D::kIdAutoX));
  Click(face.control(D::kIdAutoY));
  QVERIFY(!edit(D::kIdXMinimum)->isReadOnly() && !edit(D::kIdXMaximum)->isReadOnly());
  QVERIFY(edit(D::kIdYMinimum)->isReadOnly() && edit(D::kIdYMaximum)->isReadOnly());

  // Typed bounds go through the logic's checks and back into the options on Ok.
  edit(D::kIdXMinimum)->setText("10");
  edit(D::kIdXMaximum)->setText("60");
  Click(face.control(kIdOk));
  QCOMPARE(host.messages, std::vector<std::string>{D::kMessageWrongXRange});
  QVERIFY(!dialog.ended());
  QCOMPARE(edit(D::kIdXMaximum)->text(), "60");  // the entered text stays
  edit(D::kIdXMaximum)->setText("40");
  QTest::keyClick(edit(D::kIdXMaximum), Qt::Key_Return);
  QVERIFY(dialog.ended());
  QCOMPARE(dialog.result(), DialogResult::Ok);
  QVERIFY(!options.AutoX);
  QVERIFY(options.AutoY);
  QCOMPARE(options.XLeftBound, 10);
  QCOMPARE(options.XRightBound, 40);
}

void DialogFaceTest::delimiterCommaBoxShownPushedWhileDecimalIsComma() {
  test::RecordingHost host;
  CDialogSetDelimiter dialog(host);
  dialog.decimalIndex = 1;
  test::FaceSession session(dialog);
  DialogFace& face = *session.face();
  face.show();
  QVERIFY(QTest::qWaitForWindowExposed(&face));
  auto* box = qobject_cast<QCheckBox*>(face.control(CDialogSetDelimiter::kIdCommaDelimiter));
  emit face.activationChanged(true);
  QVERIFY(box->isDown());
  Click(face.control(CDialogSetDelimiter::kIdPoint));
  QVERIFY(!box->isDown());
  QVERIFY(box->isChecked());  // the box keeps its state either way
  Click(face.control(CDialogSetDelimiter::kIdComma));
  QVERIFY(box->isDown());
  Click(box);
  QVERIFY(box->isDown());
  QVERIFY(!box->isChecked());
}

QTEST_MAIN(DialogFaceTest)
#include "DialogFaceTest.moc"
