// The modal loop every host runs its dialogs with, and the command table that
// serves both the document's command runner and its enabling.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DocumentFixture.h"
#include "document/CommandIds.h"
#include "document/dialogs/CDialogFileChoice.h"
#include "document/dialogs/ControlStore.h"
#include "document/dialogs/Dialog.h"
#include "document/dialogs/ModalLoop.h"

namespace vorel::test {
namespace {

// A dialog that records every call a host makes on it, and shows a message
// from its button 10.
class RecordingDialog : public Dialog {
 public:
  RecordingDialog(UiHost& host, std::string name, std::vector<std::string>& log)
      : Dialog(host, name), name_(std::move(name)), log_(log) {}
  const char* className() const override { return "RecordingDialog"; }
  void OnInitDialog() override { log_.push_back(name_ + " init"); }
  void OnActivate(bool active) override { log_.push_back(name_ + (active ? " on" : " off")); }
  void OnDoubleClick(int listId) override {
    log_.push_back(name_ + " double " + std::to_string(listId));
  }

 protected:
  void OnButton(int id) override {
    log_.push_back(name_ + " button " + std::to_string(id));
    if (id == 10) host().MessageBox("hello");
  }
  void OnCancel() override {
    log_.push_back(name_ + " cancel");
    Dialog::OnCancel();
  }

 private:
  std::string name_;
  std::vector<std::string>& log_;
};

TEST(ModalLoop, ForwardsUntilTheDialogEndsAndNestsWithActivation) {
  ScriptedHost host;
  std::vector<std::string> log;
  RecordingDialog outer(host, "outer", log);
  RecordingDialog inner(host, "inner", log);
  ControlStore outerControls;
  ControlStore innerControls;
  {
    ModalLoop outerLoop(outer, outerControls);
    EXPECT_EQ(ModalLoop::Innermost(), &outer);
    EXPECT_TRUE(outer.attached());
    {
      ModalLoop innerLoop(inner, innerControls);
      EXPECT_EQ(ModalLoop::Innermost(), &inner);
      innerLoop.Activate(true);  // already active: not passed on again
      innerLoop.Command(10);     // the message box pauses the inner dialog only
      innerLoop.DoubleClick(7);
      innerLoop.Command(kIdOk);
      EXPECT_TRUE(innerLoop.ended());
      EXPECT_EQ(innerLoop.result(), DialogResult::Ok);
      innerLoop.Command(11);  // after the end: ignored
      innerLoop.Cancel();     // already ended: no OnCancel
    }
    EXPECT_FALSE(inner.attached());
    EXPECT_EQ(ModalLoop::Innermost(), &outer);
    outerLoop.Activate(false);
    outerLoop.Activate(false);
    outerLoop.Cancel();
    EXPECT_EQ(outerLoop.result(), DialogResult::Cancel);
  }
  EXPECT_EQ(ModalLoop::Innermost(), nullptr);
  EXPECT_FALSE(outer.attached());
  const std::vector<std::string> expected{
      "outer init", "outer on", "outer off",      "inner init", "inner on",  "inner button 10",
      "inner off",  "inner on", "inner double 7", "outer on",   "outer off", "outer cancel"};
  EXPECT_EQ(log, expected);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].dialog, "RecordingDialog");
}

TEST(ModalLoop, PauseWithoutADialogDoesNothing) {
  ModalLoop::Pause pause;
  EXPECT_EQ(ModalLoop::Innermost(), nullptr);
}

TEST(CommandTable, EveryMenuCommandHasOneEntryInMenuOrder) {
  const auto table = CVorelDoc::Commands();
  ASSERT_EQ(table.size(), kCommands.size());
  for (size_t i = 0; i < table.size(); ++i) {
    EXPECT_EQ(table[i].id, kCommands[i].id) << i;
    EXPECT_EQ(CVorelDoc::FindCommand(kCommands[i].id), &table[i]);
  }
  EXPECT_EQ(CVorelDoc::FindCommand(32856), nullptr);
  // The graphics commands are the view's: the document decides their enabling only.
  for (int id : {kCmdGraphSettings, kCmdApplyGraphSettings, kCmdSaveImageBmp}) {
    EXPECT_EQ(CVorelDoc::FindCommand(id)->run, nullptr) << id;
  }
}

TEST_F(DocumentTest, UnknownAndViewCommandsAreNotRunByTheDocument) {
  EXPECT_FALSE(doc->IsCommandEnabled(32856));
  EXPECT_FALSE(doc->ExecuteCommand(32856));
  doc->currentPage = PageInitialSeries;
  EXPECT_TRUE(doc->IsCommandEnabled(kCmdGraphSettings));
  EXPECT_FALSE(doc->ExecuteCommand(kCmdGraphSettings));
  EXPECT_EQ(host.redraws, 0);
}

TEST_F(DocumentTest, OpenDataOnAGivenFileListsItWithoutAFileDialog) {
  const std::string first = Example("co2-gaps.txt");
  OpenData(first);
  ASSERT_EQ(doc->dataFilePath, first);
  const std::string second = Example("co2.txt");

  // Cancelled: the document keeps its file.
  host.Expect("CDialogFileChoice")
      .Do([&](Dialog&, DialogControls& c) {
        EXPECT_EQ(c.Text(CDialogFileChoice::kIdFullPath), second);
        EXPECT_FALSE(c.Lines(CDialogFileChoice::kIdNames).empty());
      })
      .Cancel();
  EXPECT_FALSE(doc->OnOpenData(second));
  EXPECT_EQ(doc->dataFilePath, first);

  // Chosen: the given file's column becomes the series.
  host.Expect("CDialogFileChoice").Select(CDialogFileChoice::kIdNames, {0}).Ok();
  EXPECT_TRUE(doc->OnOpenData(second));
  EXPECT_EQ(doc->dataFilePath, second);
  EXPECT_EQ(doc->dataFileName, "co2.txt");
  ExpectSteps(31, 22, 22);
  EXPECT_TRUE(host.openRequests.size() == 1) << "only the first open asked for a file";
}

}  // namespace
}  // namespace vorel::test
