#pragma once

#include <QDialog>
#include <functional>
#include <map>
#include <vector>

#include "app/dialogs/FaceDescription.h"
#include "document/dialogs/DialogControls.h"

class QAbstractButton;
class QButtonGroup;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QListView;
class QStringListModel;

namespace vorel {

// The Qt face of one dialog's logic: a QDialog built from a declarative description, whose
// widgets are the dialog's controls. Each widget's objectName is its control id in decimal.
//
// Control 0 is the window itself: its text is the window title. A face never closes itself:
// OK and Cancel only emit commandClicked, Escape and the title bar's close emit
// commandClicked(2); the host closes the face (done()) when the logic has ended.
class DialogFace : public QDialog, public DialogControls {
  Q_OBJECT
 public:
  explicit DialogFace(const FaceDescription& description, QWidget* parent = nullptr);
  ~DialogFace() override;

  // DialogControls, acting directly on the widgets. An identifier without a widget
  // reads as empty and ignores what is set.
  std::string Text(int id) const override;
  void SetText(int id, const std::string& text) override;
  int State(int id) const override;
  void SetState(int id, int state) override;
  std::vector<std::string> Lines(int id) const override;
  void SetLines(int id, const std::vector<std::string>& lines) override;
  std::vector<int> Selection(int id) const override;
  void SetSelection(int id, const std::vector<int>& rows) override;
  bool Enabled(int id) const override;
  void SetEnabled(int id, bool enabled) override;
  bool ReadOnly(int id) const override;
  void SetReadOnly(int id, bool readOnly) override;

  // The widget of a control, nullptr when the face has none.
  QWidget* control(int id) const;
  // The label placed before an edit, combo or list (nullptr when it has none).
  QLabel* labelOf(int id) const;
  // The list view of a list box, nullptr when id is no list box.
  QListView* listView(int id) const;

  // Code beside a description: runs after every signal of the face has been handled
  // (the logic's handlers run on the signals), to show what the description cannot say.
  void setAfterHandlers(std::function<void()> refresh) { afterHandlers_ = std::move(refresh); }

 public slots:
  void reject() override;

 signals:
  void commandClicked(int id);         // a push button, check box or radio button was clicked;
                                       // OK is 1, Cancel 2; Escape and the title bar's close send 2
  void listDoubleClicked(int listId);  // a list row was double-clicked (the row is selected first)
  void activationChanged(bool active); // the window was activated / deactivated

 protected:
  bool event(QEvent* event) override;

 private:
  struct RadioGroup {
    std::vector<QAbstractButton*> buttons;
    QButtonGroup* group = nullptr;
  };

  void Build(const FaceDescription& description);
  QGridLayout* GridOf(const std::string& group);
  void Register(int id, QWidget* widget);
  void Clicked(int id);
  void DoubleClicked(int listId, int row);
  void AfterHandlers();
  QStringListModel* ModelOf(int id) const;

  std::map<std::string, QGridLayout*> grids_;  // "" is the dialog's own grid
  std::map<int, QWidget*> widgets_;
  std::map<int, QLabel*> labels_;
  std::map<int, RadioGroup> radioGroups_;  // by the group's first button
  std::function<void()> afterHandlers_;
};

}  // namespace vorel
