#include "graphs/BitmapFileWriter.h"

#include <cstdint>
#include <limits>

#include "document/SafeFileWriter.h"

namespace vorel {
namespace {

void Put16(char*& out, std::uint16_t v) {
  *out++ = static_cast<char>(v & 0xFF);
  *out++ = static_cast<char>(v >> 8);
}

void Put32(char*& out, std::uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) *out++ = static_cast<char>((v >> shift) & 0xFF);
}

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;

}  // namespace

std::string BitmapFileWriter::WithBmpExtension(const std::string& name) {
  static const std::string kExtension = ".bmp";
  if (name.size() >= kExtension.size() &&
      name.compare(name.size() - kExtension.size(), kExtension.size(), kExtension) == 0) {
    return name;
  }
  return name + kExtension;
}

QByteArray BitmapFileWriter::Encode(const QImage& image, int bitsPerPixel) {
  if (image.isNull() || (bitsPerPixel != 24 && bitsPerPixel != 32)) return {};
  const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
  const std::int64_t width = pixels.width();
  const std::int64_t height = pixels.height();
  const std::int64_t rowBytes = ((bitsPerPixel * width + 31) & ~std::int64_t{31}) / 8;
  const std::int64_t imageSize = rowBytes * height;
  const int entries = bitsPerPixel == 32 ? 1 : 0;
  const std::int64_t offset = kFileHeaderSize + kInfoHeaderSize + 4 * entries;
  const std::int64_t fileSize = offset + imageSize;
  if (fileSize > std::numeric_limits<std::int32_t>::max()) return {};

  QByteArray bytes(static_cast<qsizetype>(fileSize), '\0');
  char* out = bytes.data();
  // File header.
  Put16(out, 0x4D42);  // "BM"
  Put32(out, static_cast<std::uint32_t>(fileSize));
  Put16(out, 0);
  Put16(out, 0);
  Put32(out, static_cast<std::uint32_t>(offset));
  // Information header.
  Put32(out, kInfoHeaderSize);
  Put32(out, static_cast<std::uint32_t>(width));
  Put32(out, static_cast<std::uint32_t>(height));  // positive: bottom-up rows
  Put16(out, 1);                                   // planes
  Put16(out, static_cast<std::uint16_t>(bitsPerPixel));
  Put32(out, 0);  // uncompressed
  Put32(out, static_cast<std::uint32_t>(imageSize));
  Put32(out, 0);       // horizontal resolution
  Put32(out, 0);       // vertical resolution
  Put32(out, 0);       // colours used
  Put32(out, 0);       // important colours
  out += 4 * entries;  // the colour-table entry stays zero

  const int bytesPerPixel = bitsPerPixel / 8;
  for (std::int64_t row = height - 1; row >= 0; --row) {
    const QRgb* line = reinterpret_cast<const QRgb*>(pixels.constScanLine(static_cast<int>(row)));
    char* p = out;
    for (std::int64_t x = 0; x < width; ++x) {
      p[0] = static_cast<char>(qBlue(line[x]));
      p[1] = static_cast<char>(qGreen(line[x]));
      p[2] = static_cast<char>(qRed(line[x]));
      p += bytesPerPixel;  // the fourth byte at 32 bits stays zero
    }
    out += rowBytes;  // padding bytes stay zero
  }
  return bytes;
}

bool BitmapFileWriter::Write(const std::string& path, const QImage& image, int bitsPerPixel) {
  const QByteArray bytes = Encode(image, bitsPerPixel);
  if (bytes.isEmpty()) return false;
  try {
    WriteFileSafely(path, std::string(bytes.constData(), static_cast<size_t>(bytes.size())));
  } catch (const ExceptionFileNotWritten&) {
    return false;
  }
  return true;
}

}  // namespace vorel
