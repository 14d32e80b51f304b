#pragma once
// The window's own commands, beside the document's (document/CommandIds.h).

namespace vorel {

enum WindowCommandId : int {
  kCmdExit = 57665,          // "E&xit"
  kCmdHelpContents = 57667,  // "&Contents"
  kCmdAbout = 57664,         // "&About Vorel program..."
  kCmdToolbarSpare = 32856,  // the toolbar's last button: no handler, always disabled
};

// The menu text of a window command (UTF-8), empty for any other identifier.
inline const char* WindowMenuText(int id) {
  switch (id) {
    case kCmdExit:
      return "E&xit";
    case kCmdHelpContents:
      return "&Contents";
    case kCmdAbout:
      return "&About Vorel program...";
    default:
      return "";
  }
}

}  // namespace vorel
