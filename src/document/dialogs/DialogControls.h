#pragma once

#include <string>
#include <vector>

namespace vorel {

// Standard control identifiers of every dialog.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

// The controls of a running dialog, addressed by their identifiers. The host
// supplies them: the desktop program maps each identifier to a widget, the
// tests keep them in a ControlStore. A control never seen reads as empty.
class DialogControls {
 public:
  virtual ~DialogControls() = default;

  // Text of an edit box, a static or a button caption.
  virtual std::string Text(int id) const = 0;
  virtual void SetText(int id, const std::string& text) = 0;

  // State of a check box (0 or 1), of a radio group (index of the chosen
  // button, addressed by the group's first button; -1 when none) or the
  // chosen item of a combo box (-1 when none).
  virtual int State(int id) const = 0;
  virtual void SetState(int id, int state) = 0;

  // Lines of a list box or items of a combo box. Setting them leaves no row selected.
  virtual std::vector<std::string> Lines(int id) const = 0;
  virtual void SetLines(int id, const std::vector<std::string>& lines) = 0;
  // Selected rows of a list box, ascending (0-based). Rows outside the list are ignored.
  virtual std::vector<int> Selection(int id) const = 0;
  virtual void SetSelection(int id, const std::vector<int>& rows) = 0;

  // Whether a control takes input (every control starts enabled) and whether an
  // edit box is read-only (every edit box starts editable). The logic decides
  // both; a host shows them on its widgets at once.
  virtual bool Enabled(int id) const = 0;
  virtual void SetEnabled(int id, bool enabled) = 0;
  virtual bool ReadOnly(int id) const = 0;
  virtual void SetReadOnly(int id, bool readOnly) = 0;
};

}  // namespace vorel
