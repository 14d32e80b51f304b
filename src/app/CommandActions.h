#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <map>
#include <vector>

class QAction;
class QIcon;

namespace vorel {

// The window's text for a command: its menu text, the tooltip of its toolbar
// button and the text the status bar shows while the mouse is over it.
struct CommandTexts {
  int id;
  QString menuText;
  QString statusText;
  QString toolTip;
};

// The one owner of the window's actions: one QAction per command identifier,
// made from the document's command table (plus the window's own commands), and
// the one place that sets their enabled state, from one rule per identifier.
class CommandActions : public QObject {
  Q_OBJECT
 public:
  // Whether a command is enabled now.
  using Rule = std::function<bool(int id)>;

  CommandActions(Rule rule, QObject* parent);

  // The action of a command; made on first use. Triggering it emits triggered(id).
  QAction* action(int id);
  // Every action made, by identifier.
  const std::map<int, QAction*>& actions() const { return actions_; }
  // Sets every action's enabled state from the rule. Actions that the window
  // always keeps enabled (exit, help, about) are marked with AlwaysEnabled.
  void Refresh();
  void AlwaysEnabled(int id) { always_.push_back(id); }

  // The texts of the document's commands and of the window's own.
  static const std::vector<CommandTexts>& Texts();
  static const CommandTexts* FindTexts(int id);

 signals:
  void triggered(int id);

 private:
  Rule rule_;
  std::map<int, QAction*> actions_;
  std::vector<int> always_;
};

}  // namespace vorel
