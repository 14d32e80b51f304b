#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <cstdint>

#include "RecordingHost.h"
#include "graphs/BitmapFileWriter.h"
#include "graphs/SaveImageToBmp.h"

namespace vorel {
namespace {

std::uint32_t U32(const QByteArray& b, int at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<std::uint8_t>(b[at + i]);
  return v;
}

std::uint16_t U16(const QByteArray& b, int at) {
  return static_cast<std::uint16_t>(static_cast<std::uint8_t>(b[at]) |
                                    (static_cast<std::uint8_t>(b[at + 1]) << 8));
}

// 5 x 3 pixels, each of its own colour, so that row order and padding show.
QImage Sample() {
  QImage image(5, 3, QImage::Format_RGB32);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) image.setPixel(x, y, qRgb(10 * x + 1, 50 * y + 2, 7 * x + y + 3));
  }
  return image;
}

TEST(BitmapFileWriter, HeaderAndPixelLayout) {
  struct Case {
    int bits;
    int offset;
    int rowBytes;
  };
  // 24 bits: 15 bytes per row padded to 16; 32 bits: 20 bytes.
  for (const Case c : {Case{24, 54, 16}, Case{32, 58, 20}}) {
    const QByteArray b = BitmapFileWriter::Encode(Sample(), c.bits);
    const int imageSize = 3 * c.rowBytes;
    ASSERT_EQ(b.size(), c.offset + imageSize) << c.bits;
    EXPECT_EQ(U16(b, 0), 0x4D42);
    EXPECT_EQ(U32(b, 2), static_cast<std::uint32_t>(b.size()));
    EXPECT_EQ(U32(b, 6), 0u);  // both reserved words
    EXPECT_EQ(U32(b, 10), static_cast<std::uint32_t>(c.offset));
    EXPECT_EQ(U32(b, 14), 40u);
    EXPECT_EQ(U32(b, 18), 5u);
    EXPECT_EQ(U32(b, 22), 3u);  // positive: bottom-up
    EXPECT_EQ(U16(b, 26), 1);
    EXPECT_EQ(U16(b, 28), c.bits);
    EXPECT_EQ(U32(b, 30), 0u);
    EXPECT_EQ(U32(b, 34), static_cast<std::uint32_t>(imageSize));
    for (int at = 38; at < 54; at += 4) EXPECT_EQ(U32(b, at), 0u);
    // First stored row is the image's last; pixels in blue, green, red order.
    const int px = c.bits / 8;
    const int x = 4, y = 2;
    const int at = c.offset + (2 - y) * c.rowBytes + x * px;
    EXPECT_EQ(static_cast<std::uint8_t>(b[at]), 7 * x + y + 3);
    EXPECT_EQ(static_cast<std::uint8_t>(b[at + 1]), 50 * y + 2);
    EXPECT_EQ(static_cast<std::uint8_t>(b[at + 2]), 10 * x + 1);
    if (c.bits == 24) {
      EXPECT_EQ(static_cast<std::uint8_t>(b[c.offset + 15]), 0);  // padding
    }
  }
}

TEST(BitmapFileWriter, RoundTripsToTheSamePixels) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QImage picture(37, 21, QImage::Format_RGB32);  // odd width: padded rows at 24 bits
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      picture.setPixel(x, y, qRgb((x * 7) % 256, (y * 13) % 256, (x * y) % 256));
    }
  }
  for (int bits : {24, 32}) {
    const std::string path = (dir.path() + QStringLiteral("/p%1.bmp").arg(bits)).toStdString();
    ASSERT_TRUE(BitmapFileWriter::Write(path, picture, bits));
    QImage back(QString::fromStdString(path), "BMP");
    ASSERT_FALSE(back.isNull()) << bits;
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), picture) << bits;
  }
}

TEST(BitmapFileWriter, FileNameRule) {
  const std::pair<const char*, const char*> cases[] = {
      {"page.bmp", "page.bmp"},
      {"page", "page.bmp"},
      {"page.BMP", "page.BMP.bmp"},
      {"a", "a.bmp"},
      {".bmp", ".bmp"},
      {"bmp", "bmp.bmp"},
      {"x.bmp.txt", "x.bmp.txt.bmp"},
      {"/d/e.Bmp", "/d/e.Bmp.bmp"},
      {"", ".bmp"},
  };
  for (const auto& [given, expected] : cases) {
    EXPECT_EQ(BitmapFileWriter::WithBmpExtension(given), expected) << given;
  }
}

TEST(BitmapFileWriter, UnwritableFileIsLeftAlone) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QImage picture = Sample();
  // A folder that does not exist: nothing written, no crash.
  const QString missing = dir.path() + QStringLiteral("/no/such/folder/x.bmp");
  EXPECT_FALSE(BitmapFileWriter::Write(missing.toStdString(), picture, 24));
  EXPECT_FALSE(QFile::exists(missing));
  // A depth that cannot be written leaves an existing file as it was.
  const QString existing = dir.path() + QStringLiteral("/old.bmp");
  {
    QFile f(existing);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("old");
  }
  EXPECT_FALSE(BitmapFileWriter::Write(existing.toStdString(), picture, 16));
  QFile f(existing);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray("old"));
  EXPECT_TRUE(BitmapFileWriter::Encode(QImage(), 24).isEmpty());
}

TEST(SaveImageToBmp, AsksAppendsWritesAndRedraws) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string base = dir.path().toStdString();
  struct Case {
    std::optional<std::string> answer;
    int depth;
    const char* expectedFile;  // nullptr: nothing written
    int expectedBits;
    int redraws;
  };
  const Case cases[] = {
      {base + "/page", 32, "/page.bmp", 32, 1},
      {base + "/shot.bmp", 24, "/shot.bmp", 24, 1},
      {base + "/deep.BMP", 16, "/deep.BMP.bmp", 24, 1},  // other depths: 24 bits
      {base + "/no/such/dir/x", 32, nullptr, 0, 1},      // unwritable: silent, still redrawn
      {std::nullopt, 32, nullptr, 0, 0},                 // Cancel ends the command
  };
  for (const Case& c : cases) {
    test::RecordingHost host;
    host.saveAnswer = c.answer;
    int captures = 0;
    const bool written = SaveImageToBmp(
        host,
        [&] {
          ++captures;
          return Sample();
        },
        c.depth);
    EXPECT_EQ(written, c.expectedFile != nullptr) << c.answer.value_or("cancel");
    EXPECT_EQ(host.redraws, c.redraws);
    ASSERT_EQ(host.saveRequests.size(), 1u);
    const FileDialogRequest& r = host.saveRequests[0];
    EXPECT_EQ(r.title, "Select output BMP file");
    EXPECT_EQ(r.filters, (std::vector<FileFilter>{{"BMP files *.bmp", "*.bmp"}}));
    EXPECT_TRUE(r.overwritePrompt);
    EXPECT_EQ(captures, c.answer ? 1 : 0);
    if (c.expectedFile == nullptr) continue;
    QFile f(QString::fromStdString(base + c.expectedFile));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << c.expectedFile;
    EXPECT_EQ(f.readAll(), BitmapFileWriter::Encode(Sample(), c.expectedBits));
  }
}

}  // namespace
}  // namespace vorel
