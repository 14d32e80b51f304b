#pragma once
// A dialog's face, said declaratively: which controls it has, in tab order, with
// their identifiers, captions, group boxes and places in a grid. DialogFace
// builds the widgets and the Qt layouts from it.

#include <string>
#include <vector>

namespace vorel {

class Dialog;
class DialogFace;

enum class ControlKind {
  Button,         // push button
  DefaultButton,  // push button pressed by Enter
  Check,          // check box
  Radio,          // radio button; consecutive radios in one group box form one group
  Edit,           // one-line edit; the caption is its label, placed before it
  ReadOnlyEdit,   // one-line edit that is never editable (a field shown to be copied)
  Static,         // a text the logic may set; the caption is its first text
  Label,          // a fixed text without identifier
  Combo,          // drop-down list; the caption is its label, placed before it
  List,           // list box, single selection; the caption is its label, placed above it
  ListExtended,   // list box, extended multiple selection
  Group,          // group box titled by the caption; controls name it as their group
};

// Row of the button bar at the bottom of the dialog (right-aligned, in order).
inline constexpr int kButtonBar = -1;
// Identifier of controls that the logic never addresses (labels, group boxes).
inline constexpr int kNoId = -1;

struct ControlDescription {
  ControlKind kind = ControlKind::Label;
  int id = kNoId;
  std::string caption;
  std::string group;  // title of the group box that holds it; empty: the dialog itself
  int row = 0;
  int column = 0;
  int rowSpan = 1;
  int columnSpan = 1;
  int chars = 0;  // minimum width of an edit, combo or list, in average characters
  int lines = 0;  // minimum height of a list, in lines; of a static, its minimum lines

  // Places the control in row, column of its grid. An edit or a combo with a
  // caption takes two columns (label, field).
  ControlDescription At(int r, int c, int rs = 1, int cs = 1) const {
    ControlDescription d = *this;
    d.row = r;
    d.column = c;
    d.rowSpan = rs;
    d.columnSpan = cs;
    return d;
  }
  ControlDescription In(std::string groupTitle) const {
    ControlDescription d = *this;
    d.group = std::move(groupTitle);
    return d;
  }
  ControlDescription Width(int averageChars) const {
    ControlDescription d = *this;
    d.chars = averageChars;
    return d;
  }
  ControlDescription Height(int textLines) const {
    ControlDescription d = *this;
    d.lines = textLines;
    return d;
  }
};

inline ControlDescription Control(ControlKind kind, int id, std::string caption = {}) {
  ControlDescription d;
  d.kind = kind;
  d.id = id;
  d.caption = std::move(caption);
  return d;
}
inline ControlDescription Button(int id, std::string caption) {
  return Control(ControlKind::Button, id, std::move(caption));
}
inline ControlDescription DefaultButton(int id, std::string caption) {
  return Control(ControlKind::DefaultButton, id, std::move(caption));
}
inline ControlDescription Check(int id, std::string caption) {
  return Control(ControlKind::Check, id, std::move(caption));
}
inline ControlDescription Radio(int id, std::string caption) {
  return Control(ControlKind::Radio, id, std::move(caption));
}
inline ControlDescription Edit(int id, std::string label = {}) {
  return Control(ControlKind::Edit, id, std::move(label));
}
inline ControlDescription ReadOnlyEdit(int id, std::string label = {}) {
  return Control(ControlKind::ReadOnlyEdit, id, std::move(label));
}
inline ControlDescription Static(int id, std::string text = {}) {
  return Control(ControlKind::Static, id, std::move(text));
}
inline ControlDescription Label(std::string text) {
  return Control(ControlKind::Label, kNoId, std::move(text));
}
inline ControlDescription Combo(int id, std::string label = {}) {
  return Control(ControlKind::Combo, id, std::move(label));
}
inline ControlDescription List(int id, std::string label = {}) {
  return Control(ControlKind::List, id, std::move(label));
}
inline ControlDescription ListExtended(int id, std::string label = {}) {
  return Control(ControlKind::ListExtended, id, std::move(label));
}
inline ControlDescription Group(std::string title) {
  return Control(ControlKind::Group, kNoId, std::move(title));
}

// One dialog: its class, its title and its controls in tab order.
struct FaceDescription {
  std::string className;
  std::string title;
  std::vector<ControlDescription> controls;
  // Code beside the description, for what it cannot say; run once on the new face.
  void (*beside)(DialogFace& face, const Dialog& dialog) = nullptr;
};

}  // namespace vorel
