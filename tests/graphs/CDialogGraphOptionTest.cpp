#include <gtest/gtest.h>

#include "RecordingHost.h"
#include "document/ApplyGraphOptions.h"
#include "document/dialogs/CDialogGraphOption.h"
#include "document/dialogs/ControlStore.h"

namespace vorel {
namespace {

using test::RecordingHost;
using D = CDialogGraphOption;

// Opens the dialog on `options` as a host would.
struct OpenDialog {
  RecordingHost host;
  ControlStore controls;
  D dialog;
  OpenDialog(GraphOptions& options, int points) : dialog(host, options, points) {
    dialog.Attach(&controls);
    dialog.OnInitDialog();
    dialog.OnActivate(true);
  }
};

TEST(CDialogGraphOption, FillsControlsAndReadOnlyState) {
  GraphOptions o;
  o.AutoX = false;
  o.XLeftBound = 3;
  o.XRightBound = 40;
  o.YLowerBound = -2.5;
  o.Monochrome = true;
  OpenDialog d(o, 50);
  EXPECT_EQ(d.controls.State(D::kIdAutoX), 0);
  EXPECT_EQ(d.controls.Text(D::kIdXMinimum), "3");
  EXPECT_EQ(d.controls.Text(D::kIdXMaximum), "40");
  EXPECT_EQ(d.controls.State(D::kIdAutoY), 1);
  EXPECT_EQ(d.controls.Text(D::kIdYMinimum), "-2.5");
  EXPECT_EQ(d.controls.Text(D::kIdFontHeight), "10");
  EXPECT_EQ(d.controls.Text(D::kIdPrecision), "1");
  EXPECT_EQ(d.controls.State(D::kIdMonochrome), 1);
  EXPECT_EQ(d.controls.State(D::kIdShowLegends), 0);
  EXPECT_FALSE(d.controls.ReadOnly(D::kIdXMinimum));
  EXPECT_FALSE(d.controls.ReadOnly(D::kIdXMaximum));
  EXPECT_TRUE(d.controls.ReadOnly(D::kIdYMinimum));
  EXPECT_TRUE(d.controls.ReadOnly(D::kIdYMaximum));
  // Clicking an "Auto" box switches its edits.
  d.controls.SetState(D::kIdAutoY, 0);
  d.dialog.OnCommand(D::kIdAutoY);
  EXPECT_FALSE(d.controls.ReadOnly(D::kIdYMinimum));
  EXPECT_FALSE(d.controls.ReadOnly(D::kIdYMaximum));
  d.controls.SetState(D::kIdAutoX, 1);
  d.dialog.OnCommand(D::kIdAutoX);
  EXPECT_TRUE(d.controls.ReadOnly(D::kIdXMinimum));
  EXPECT_TRUE(d.controls.ReadOnly(D::kIdXMaximum));
  EXPECT_FALSE(d.dialog.ended());
}

TEST(CDialogGraphOption, ChecksInOrderWithTheirMessages) {
  struct Case {
    const char* xMin;
    const char* xMax;
    const char* yMin;
    const char* yMax;
    const char* font;
    const char* precision;
    const char* message;  // nullptr: accepted
  };
  const Case cases[] = {
      {"5", "5", "0", "1", "10", "1", nullptr},  // equal X bounds pass
      {"1", "50", "0", "1", "7", "9", nullptr},  // the limits
      {"1", "50", "0", "1", "39", "1", nullptr},
      {"0", "50", "0", "1", "10", "1", D::kMessageWrongXRange},
      {"1", "51", "0", "1", "10", "1", D::kMessageWrongXRange},
      {"6", "5", "1", "1", "-1", "0", D::kMessageWrongXRange},  // first failure wins
      {"1", "5", "1", "1", "-1", "0", D::kMessageWrongYRange},
      {"1", "5", "2", "1", "10", "1", D::kMessageWrongYRange},
      {"1", "5", "0", "1", "-1", "0", D::kMessageNegativeFont},
      {"1", "5", "0", "1", "6", "0", D::kMessageFontRange},
      {"1", "5", "0", "1", "40", "1", D::kMessageFontRange},
      {"1", "5", "0", "1", "10", "0", D::kMessagePrecisionRange},
      {"1", "5", "0", "1", "10", "10", D::kMessagePrecisionRange},
      {"x", "5", "0", "1", "10", "1", "Please enter an integer."},
      {"1", "5", "0", "1e", "10", "1", "Please enter a number."},
  };
  for (const Case& c : cases) {
    GraphOptions o;
    const GraphOptions before = o;
    OpenDialog d(o, 50);
    d.controls.SetState(D::kIdAutoX, 0);
    d.controls.SetState(D::kIdAutoY, 0);
    d.controls.SetText(D::kIdXMinimum, c.xMin);
    d.controls.SetText(D::kIdXMaximum, c.xMax);
    d.controls.SetText(D::kIdYMinimum, c.yMin);
    d.controls.SetText(D::kIdYMaximum, c.yMax);
    d.controls.SetText(D::kIdFontHeight, c.font);
    d.controls.SetText(D::kIdPrecision, c.precision);
    d.dialog.OnCommand(kIdOk);
    const std::string label = std::string(c.xMin) + " " + c.xMax + " " + c.yMin + " " + c.yMax +
                              " " + c.font + " " + c.precision;
    if (c.message == nullptr) {
      EXPECT_TRUE(d.dialog.ended()) << label;
      EXPECT_TRUE(d.host.messages.empty()) << label;
    } else {
      EXPECT_FALSE(d.dialog.ended()) << label;
      ASSERT_EQ(d.host.messages.size(), 1u) << label;
      EXPECT_EQ(d.host.messages[0], c.message) << label;
      EXPECT_EQ(o, before) << label;                       // untouched until every check passes
      EXPECT_EQ(d.controls.Text(D::kIdXMinimum), c.xMin);  // entered values stay
    }
  }
}

TEST(CDialogGraphOption, AutoBoxesSkipTheirChecksAndTheirWriteBack) {
  GraphOptions o;
  o.XLeftBound = 1;
  o.XRightBound = 30;
  o.YLowerBound = -4;
  o.YUpperBound = 8;
  OpenDialog d(o, 30);
  // Auto on both axes: nonsense bounds are neither checked nor written.
  d.controls.SetText(D::kIdXMinimum, "0");
  d.controls.SetText(D::kIdXMaximum, "900");
  d.controls.SetText(D::kIdYMinimum, "5");
  d.controls.SetText(D::kIdYMaximum, "5");
  d.controls.SetText(D::kIdFontHeight, "15");
  d.controls.SetText(D::kIdPrecision, "3");
  d.controls.SetState(D::kIdShowGrid, 0);
  d.controls.SetState(D::kIdShowLegends, 1);
  d.dialog.OnCommand(kIdOk);
  ASSERT_TRUE(d.dialog.ended());
  EXPECT_EQ(d.dialog.result(), DialogResult::Ok);
  EXPECT_EQ(o.XLeftBound, 1);
  EXPECT_EQ(o.XRightBound, 30);
  EXPECT_EQ(o.YLowerBound, -4);
  EXPECT_EQ(o.YUpperBound, 8);
  EXPECT_EQ(o.FontHeight, 15);
  EXPECT_EQ(o.normalFontWidth, 8);   // trunc(16 * 0.5)
  EXPECT_EQ(o.largeFontHeight, 18);  // trunc(15 * 5 * 0.25)
  EXPECT_EQ(o.largeFontWidth, 10);   // trunc(8 * 5 * 0.25)
  EXPECT_EQ(o.Precision, 3);
  EXPECT_FALSE(o.ShowGrid);
  EXPECT_TRUE(o.ShowLegends);

  // Manual axes: the bounds are written.
  OpenDialog m(o, 30);
  m.controls.SetState(D::kIdAutoX, 0);
  m.controls.SetState(D::kIdAutoY, 0);
  m.controls.SetText(D::kIdXMinimum, "4");
  m.controls.SetText(D::kIdXMaximum, "9");
  m.controls.SetText(D::kIdYMinimum, "-1.25");
  m.controls.SetText(D::kIdYMaximum, "2");
  m.dialog.OnCommand(kIdOk);
  ASSERT_TRUE(m.dialog.ended());
  EXPECT_FALSE(o.AutoX);
  EXPECT_FALSE(o.AutoY);
  EXPECT_EQ(o.XLeftBound, 4);
  EXPECT_EQ(o.XRightBound, 9);
  EXPECT_EQ(o.YLowerBound, -1.25);
  EXPECT_EQ(o.YUpperBound, 2);
}

TEST(CDialogGraphOption, CancelChangesNothing) {
  GraphOptions o;
  const GraphOptions before = o;
  OpenDialog d(o, 10);
  d.controls.SetText(D::kIdFontHeight, "20");
  d.controls.SetState(D::kIdMonochrome, 1);
  d.dialog.OnCommand(kIdCancel);
  EXPECT_TRUE(d.dialog.ended());
  EXPECT_EQ(d.dialog.result(), DialogResult::Cancel);
  EXPECT_EQ(o, before);
}

TEST(CDialogGraphOption, EditGraphOptionsRedrawsOnlyAfterOk) {
  for (bool accept : {true, false}) {
    RecordingHost host;
    ControlStore controls;
    host.runDialog = [&](Dialog& dialog) {
      dialog.Attach(&controls);
      dialog.OnInitDialog();
      dialog.OnActivate(true);
      controls.SetText(D::kIdPrecision, "4");
      dialog.OnCommand(accept ? kIdOk : kIdCancel);
      EXPECT_TRUE(dialog.ended());
      return dialog.result();
    };
    GraphOptions o;
    EXPECT_EQ(EditGraphOptions(host, o, 10), accept);
    EXPECT_EQ(o.Precision, accept ? 4 : 1);
    EXPECT_EQ(host.redraws, accept ? 1 : 0);
  }
}

TEST(ApplyGraphOptions, CopiesEveryOptionToAllGraphs) {
  GraphOptionsSet set;
  GraphOptions& source = set[3];
  source.SetFontHeight(21);
  source.Precision = 4;
  source.ShowScale = false;
  source.ShowPoints = false;
  source.ShowMV = false;
  source.Monochrome = true;
  source.ShowGrid = false;
  source.ShowLegends = true;
  source.AutoX = false;
  source.AutoY = false;
  source.XLeftBound = 7;
  source.XRightBound = 70;
  source.YLowerBound = -3;
  source.YUpperBound = 33;
  const GraphOptions expected = source;
  set[0].XRightBound = 5;
  ApplyGraphOptionsToAll(set, 3);
  for (const GraphOptions& o : set) EXPECT_EQ(o, expected);

  GraphOptionsSet untouched;
  untouched[0].Precision = 5;
  const GraphOptionsSet copy = untouched;
  ApplyGraphOptionsToAll(untouched, 8);
  EXPECT_EQ(untouched, copy);
}

}  // namespace
}  // namespace vorel
