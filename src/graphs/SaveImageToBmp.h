#pragma once

#include <QImage>
#include <functional>

namespace vorel {

class UiHost;

// "Save image to BMP": asks for the output file ("Select output BMP file",
// BMP files only, asking before overwriting), appends ".bmp" unless the name
// ends in exactly ".bmp", captures the current page and writes it as a bitmap
// of the screen's depth (32 bits; any other depth is written at 24). A file
// that cannot be written is left alone and nothing is reported. The views are
// redrawn afterwards whether or not the file was written; Cancel ends the
// command at once. Returns whether a file was written.
bool SaveImageToBmp(UiHost& host, const std::function<QImage()>& capture, int screenDepth);

}  // namespace vorel
