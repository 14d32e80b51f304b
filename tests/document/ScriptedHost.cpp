#include "ScriptedHost.h"

#include <gtest/gtest.h>

#include "document/dialogs/ModalLoop.h"

namespace vorel::test {

DialogScript& DialogScript::Type(int id, std::string text) {
  actions_.push_back({Action::Kind::Type, id, std::move(text), 0, {}, {}});
  return *this;
}

DialogScript& DialogScript::Choose(int id, int state) {
  actions_.push_back({Action::Kind::Choose, id, {}, state, {}, {}});
  return *this;
}

DialogScript& DialogScript::Select(int listId, std::vector<int> rows) {
  actions_.push_back({Action::Kind::Select, listId, {}, 0, std::move(rows), {}});
  return *this;
}

DialogScript& DialogScript::Press(int id) {
  actions_.push_back({Action::Kind::Press, id, {}, 0, {}, {}});
  return *this;
}

DialogScript& DialogScript::DoubleClick(int listId, int row) {
  actions_.push_back({Action::Kind::DoubleClick, listId, {}, row, {}, {}});
  return *this;
}

DialogScript& DialogScript::Do(std::function<void(Dialog&, DialogControls&)> action) {
  actions_.push_back({Action::Kind::Do, 0, {}, 0, {}, std::move(action)});
  return *this;
}

ScriptedHost::~ScriptedHost() = default;

DialogScript& ScriptedHost::Expect(std::string className) {
  scripts_.emplace_back(std::move(className));
  return scripts_.back();
}

std::vector<std::string> ScriptedHost::messageTexts() const {
  std::vector<std::string> texts;
  for (const Message& m : messages) texts.push_back(m.text);
  return texts;
}

void ScriptedHost::Record(const std::string& text, bool exclamation) {
  NotInLongWork("MessageBox");
  ModalLoop::Pause pause;
  const Dialog* open = ModalLoop::Innermost();
  messages.push_back({text, exclamation, open == nullptr ? "" : open->className()});
}

void ScriptedHost::MessageBox(const std::string& text) { Record(text, false); }

void ScriptedHost::MessageBoxExclamation(const std::string& text) { Record(text, true); }

DialogResult ScriptedHost::RunModal(Dialog& dialog) {
  NotInLongWork("RunModal");
  dialogsRun.push_back(dialog.className());
  if (scripts_.empty()) {
    if (cancelUnscriptedDialogs) return DialogResult::Cancel;
    ADD_FAILURE() << "no script for dialog " << dialog.className();
    return DialogResult::Cancel;
  }
  DialogScript script = std::move(scripts_.front());
  scripts_.pop_front();
  if (script.className() != dialog.className()) {
    ADD_FAILURE() << "expected dialog " << script.className() << ", got " << dialog.className();
    return DialogResult::Cancel;
  }

  ControlStore controls;
  ModalLoop loop(dialog, controls);
  size_t done = 0;
  for (const auto& a : script.actions_) {
    if (loop.ended()) break;
    ++done;
    using Kind = DialogScript::Action::Kind;
    switch (a.kind) {
      case Kind::Type:
        controls.SetText(a.id, a.text);
        break;
      case Kind::Choose:
        controls.SetState(a.id, a.value);
        break;
      case Kind::Select:
        controls.SetSelection(a.id, a.rows);
        break;
      case Kind::Press:
        loop.Command(a.id);
        break;
      case Kind::DoubleClick: {
        std::vector<int> rows = controls.Selection(a.id);
        rows.push_back(a.value);
        controls.SetSelection(a.id, rows);
        loop.DoubleClick(a.id);
        break;
      }
      case Kind::Do:
        a.action(dialog, controls);
        break;
    }
  }
  if (done < script.actions_.size()) {
    ADD_FAILURE() << dialog.className() << " ended before the end of its script";
  }
  if (!loop.ended()) {
    ADD_FAILURE() << dialog.className() << " still open at the end of its script";
    loop.Cancel();
  }
  return dialog.result();
}

std::optional<std::string> ScriptedHost::OpenFileDialog(const FileDialogRequest& request) {
  NotInLongWork("OpenFileDialog");
  openRequests.push_back(request);
  if (openAnswers_.empty()) {
    ADD_FAILURE() << "no answer for the open-file dialog " << request.title;
    return std::nullopt;
  }
  ModalLoop::Pause pause;
  auto answer = openAnswers_.front();
  openAnswers_.pop_front();
  return answer;
}

std::optional<std::string> ScriptedHost::SaveFileDialog(const FileDialogRequest& request) {
  NotInLongWork("SaveFileDialog");
  saveRequests.push_back(request);
  if (saveAnswers_.empty()) {
    ADD_FAILURE() << "no answer for the save-file dialog " << request.title;
    return std::nullopt;
  }
  ModalLoop::Pause pause;
  auto answer = saveAnswers_.front();
  saveAnswers_.pop_front();
  return answer;
}

std::string ScriptedHost::ExamplesPath(const std::string& productName) {
  NotInLongWork("ExamplesPath");
  examplesPathProducts.push_back(productName);
  return examplesPath;
}

void ScriptedHost::ProgressBegin(int from, int to) {
  progress.push_back("begin " + std::to_string(from) + " " + std::to_string(to));
  if (inLongWork_) progressInLongWork.back().push_back(progress.back());
}

void ScriptedHost::ProgressStep() {
  progress.push_back("step");
  if (inLongWork_) progressInLongWork.back().push_back(progress.back());
}

void ScriptedHost::ProgressShow() {
  progress.push_back("show");
  if (inLongWork_) progressInLongWork.back().push_back(progress.back());
}

void ScriptedHost::ProgressHide() {
  progress.push_back("hide");
  if (inLongWork_) progressInLongWork.back().push_back(progress.back());
}

void ScriptedHost::RedrawAllViews() {
  NotInLongWork("RedrawAllViews");
  ++redraws;
}

void ScriptedHost::NotInLongWork(const char* call) const {
  if (inLongWork_) ADD_FAILURE() << call << " called from long work";
}

void ScriptedHost::RunLongWork(const std::function<void()>& work) {
  if (inLongWork_) ADD_FAILURE() << "long work started from long work";
  ++longWorks;
  progressInLongWork.emplace_back();
  const std::string before = longWorkProbe ? longWorkProbe() : std::string();
  inLongWork_ = true;
  try {
    work();
  } catch (...) {
    inLongWork_ = false;
    throw;
  }
  inLongWork_ = false;
  if (longWorkProbe) longWorkChanges.emplace_back(before, longWorkProbe());
}

}  // namespace vorel::test
