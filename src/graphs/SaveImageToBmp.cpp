#include "graphs/SaveImageToBmp.h"

#include <optional>
#include <string>

#include "document/UiHost.h"
#include "graphs/BitmapFileWriter.h"

namespace vorel {

bool SaveImageToBmp(UiHost& host, const std::function<QImage()>& capture, int screenDepth) {
  FileDialogRequest request;
  request.title = "Select output BMP file";
  request.filters = {{"BMP files *.bmp", "*.bmp"}};
  request.overwritePrompt = true;
  const std::optional<std::string> chosen = host.SaveFileDialog(request);
  if (!chosen) return false;

  const std::string path = BitmapFileWriter::WithBmpExtension(*chosen);
  const QImage picture = capture();
  const bool written = BitmapFileWriter::Write(path, picture, screenDepth == 32 ? 32 : 24);
  host.RedrawAllViews();
  return written;
}

}  // namespace vorel
