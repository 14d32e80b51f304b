#pragma once

#include <QByteArray>
#include <QImage>
#include <string>

namespace vorel {

// Writes a picture as an uncompressed Windows bitmap file: a 14-byte file
// header, a 40-byte information header (height positive: rows bottom-up), a
// colour table of one 4-byte entry at 32 bits and none at 24 bits, and the
// pixel rows, each padded to a multiple of 4 bytes. All fields little-endian.
class BitmapFileWriter {
 public:
  // The name with ".bmp" appended unless its last four characters are
  // exactly ".bmp" (lower case).
  static std::string WithBmpExtension(const std::string& name);

  // The file's bytes for the image at 24 or 32 bits per pixel; empty for a
  // null image, another depth, or a picture too large for the format.
  // Cost: one pass over the pixels.
  static QByteArray Encode(const QImage& image, int bitsPerPixel);

  // Writes the file with WriteFileSafely (a temporary file that replaces
  // `path` only when complete). False, and nothing written, when the file
  // cannot be written.
  static bool Write(const std::string& path, const QImage& image, int bitsPerPixel);
};

}  // namespace vorel
