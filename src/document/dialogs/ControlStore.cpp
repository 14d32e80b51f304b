#include "document/dialogs/ControlStore.h"

#include <algorithm>

namespace vorel {

std::string ControlStore::Text(int id) const {
  auto it = texts_.find(id);
  return it == texts_.end() ? std::string() : it->second;
}

void ControlStore::SetText(int id, const std::string& text) { texts_[id] = text; }

int ControlStore::State(int id) const {
  auto it = states_.find(id);
  return it == states_.end() ? -1 : it->second;
}

void ControlStore::SetState(int id, int state) { states_[id] = state; }

std::vector<std::string> ControlStore::Lines(int id) const {
  auto it = lines_.find(id);
  return it == lines_.end() ? std::vector<std::string>() : it->second;
}

void ControlStore::SetLines(int id, const std::vector<std::string>& lines) {
  lines_[id] = lines;
  selections_[id].clear();
}

std::vector<int> ControlStore::Selection(int id) const {
  auto it = selections_.find(id);
  return it == selections_.end() ? std::vector<int>() : it->second;
}

void ControlStore::SetSelection(int id, const std::vector<int>& rows) {
  const int count = static_cast<int>(Lines(id).size());
  std::vector<int> kept;
  for (int row : rows) {
    if (row >= 0 && row < count) kept.push_back(row);
  }
  std::sort(kept.begin(), kept.end());
  kept.erase(std::unique(kept.begin(), kept.end()), kept.end());
  selections_[id] = std::move(kept);
}

bool ControlStore::Enabled(int id) const { return !disabled_.contains(id); }

void ControlStore::SetEnabled(int id, bool enabled) {
  if (enabled) {
    disabled_.erase(id);
  } else {
    disabled_.insert(id);
  }
}

bool ControlStore::ReadOnly(int id) const { return readOnly_.contains(id); }

void ControlStore::SetReadOnly(int id, bool readOnly) {
  if (readOnly) {
    readOnly_.insert(id);
  } else {
    readOnly_.erase(id);
  }
}

}  // namespace vorel
