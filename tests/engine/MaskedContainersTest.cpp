#include <gtest/gtest.h>

#include "TestSeries.h"
#include "engine/MaskedMatrix.h"
#include "engine/MaskedSeries.h"

namespace vorel {
namespace {

using test::kNaN;
using test::MakeSeries;

TEST(MaskedSeries, ResizeToSameLengthKeepsValuesAndFlags) {
  MaskedSeries s = MakeSeries({1.5, kNaN, 3.0});
  s.value(2) = 7.0;  // a missing element keeps whatever was stored
  s.Resize(3);
  EXPECT_EQ(s.value(1), 1.5);
  EXPECT_EQ(s.value(2), 7.0);
  EXPECT_FALSE(s.isValid(2));

  s.Resize(4);
  for (int t = 1; t <= 4; ++t) {
    EXPECT_EQ(s.value(t), 0.0);
    EXPECT_TRUE(s.isValid(t));
  }
}

TEST(MaskedSeries, CountAndCompressValid) {
  const MaskedSeries s = MakeSeries({kNaN, 2.0, kNaN, -4.0, 5.0});
  EXPECT_EQ(s.CountValid(), 3);
  const MaskedSeries c = s.CompressValid();
  ASSERT_EQ(c.length(), 3);
  EXPECT_EQ(c.value(1), 2.0);
  EXPECT_EQ(c.value(2), -4.0);
  EXPECT_EQ(c.value(3), 5.0);
  EXPECT_EQ(c.CountValid(), 3);
}

TEST(MaskedSeries, ScaledInnerProduct) {
  struct Case {
    std::vector<double> a, b;
    double expected;
  };
  const Case cases[] = {
      {{1, 2, 3}, {4, 5, 6}, 32.0},                 // nothing missing: plain product
      {{1, kNaN, 3}, {4, 5, 6}, 3.0 / 2.0 * 22.0},  // n / m * s, n = 3, m = 2
      {{1, 2, kNaN, 4}, {kNaN, 1, 1, 1}, 4.0 / 2.0 * 6.0},
      {{kNaN, 2}, {1, kNaN}, 0.0},  // no present pair
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(MaskedSeries::ScaledInnerProduct(MakeSeries(c.a), MakeSeries(c.b)),
                     c.expected);
  }
}

TEST(MaskedSeries, MinAndMaxValidSkipMissing) {
  MaskedSeries s = MakeSeries({kNaN, 5.0, -1.0, kNaN, 9.0});
  s.value(1) = -100.0;  // stored under a missing flag: never a candidate
  s.value(4) = 100.0;
  EXPECT_EQ(*s.MinValid(1, 5), -1.0);
  EXPECT_EQ(*s.MaxValid(1, 5), 9.0);
  EXPECT_EQ(*s.MinValid(4, 5), 9.0);
  EXPECT_FALSE(s.MinValid(1, 1).has_value());
  EXPECT_FALSE(s.MaxValid(4, 4).has_value());

  // Values that are not finite count as missing, wherever they stand.
  MaskedSeries n = MakeSeries({1.0, 2.0, 3.0});
  n.value(1) = std::numeric_limits<double>::quiet_NaN();
  n.value(3) = std::numeric_limits<double>::infinity();
  EXPECT_EQ(*n.MinValid(1, 3), 2.0);
  EXPECT_EQ(*n.MaxValid(1, 3), 2.0);
  EXPECT_FALSE(n.MinValid(3, 3).has_value());
}

TEST(MaskedMatrix, ResizeToSameShapeKeepsContents) {
  MaskedMatrix m(2, 3);
  m.set(1, 2, 4.5, false);
  m.setValidCount(2, 1);
  m.Resize(2, 3);
  EXPECT_EQ(m.value(1, 2), 4.5);
  EXPECT_FALSE(m.isValid(1, 2));
  EXPECT_EQ(m.validCount(2), 1);

  m.Resize(3, 2);
  EXPECT_EQ(m.value(1, 2), 0.0);
  EXPECT_TRUE(m.isValid(1, 2));
  EXPECT_EQ(m.validCount(2), 0);
}

TEST(MaskedMatrix, TransposeSelectRowsRecount) {
  MaskedMatrix m(3, 2);
  m.set(1, 1, 1, true);
  m.set(2, 1, 2, false);
  m.set(3, 1, 3, true);
  m.set(1, 2, 4, true);
  m.set(2, 2, 5, true);
  m.set(3, 2, 6, false);
  m.RecountValid();
  EXPECT_EQ(m.validCount(1), 2);
  EXPECT_EQ(m.validCount(2), 2);

  const MaskedMatrix t = m.Transpose();
  ASSERT_EQ(t.rows(), 2);
  ASSERT_EQ(t.cols(), 3);
  EXPECT_EQ(t.value(2, 3), 6);
  EXPECT_FALSE(t.isValid(2, 3));
  EXPECT_FALSE(t.isValid(1, 2));

  const MaskedMatrix s = m.SelectRows(MakeSeries({1, kNaN, 1}));
  ASSERT_EQ(s.rows(), 2);
  EXPECT_EQ(s.value(2, 1), 3);
  EXPECT_EQ(s.value(2, 2), 6);
  EXPECT_FALSE(s.isValid(2, 2));
}

TEST(MaskedMatrix, MaskedProductScalesByPresentPairs) {
  // A is 2 x 3 with one missing element, B is 3 x 2 with one missing element.
  MaskedMatrix A(2, 3), B(3, 2);
  const double a[2][3] = {{1, 2, 3}, {4, 5, 6}};
  const double b[3][2] = {{1, 2}, {3, 4}, {5, 6}};
  for (int i = 1; i <= 2; ++i)
    for (int k = 1; k <= 3; ++k) A.set(i, k, a[i - 1][k - 1], true);
  for (int k = 1; k <= 3; ++k)
    for (int j = 1; j <= 2; ++j) B.set(k, j, b[k - 1][j - 1], true);
  A.set(1, 2, 0.0, false);  // the engine stores 0 in missing positions
  B.set(3, 2, 0.0, false);

  const MaskedMatrix C = MaskedMatrix::MaskedProduct(A, B);
  // Element by element: the sum over present pairs, times 3 / m when m < 3.
  EXPECT_DOUBLE_EQ(C.value(1, 1), (1 * 1 + 3 * 5) * 3.0 / 2.0);  // pair k = 2 missing
  EXPECT_DOUBLE_EQ(C.value(1, 2), (1 * 2) * 3.0 / 1.0);          // k = 2 and k = 3 missing
  EXPECT_DOUBLE_EQ(C.value(2, 1), 4 * 1 + 5 * 3 + 6 * 5);        // nothing missing
  EXPECT_DOUBLE_EQ(C.value(2, 2), (4 * 2 + 5 * 4) * 3.0 / 2.0);  // k = 3 missing
  for (int i = 1; i <= 2; ++i)
    for (int j = 1; j <= 2; ++j) EXPECT_TRUE(C.isValid(i, j));
}

TEST(MaskedMatrix, MaskedProductLeavesAllMissingRowUnscaled) {
  MaskedMatrix A(1, 2), B(2, 1);
  A.set(1, 1, 0.0, false);
  A.set(1, 2, 0.0, false);
  B.set(1, 1, 3.0, true);
  B.set(2, 1, 4.0, true);
  EXPECT_EQ(MaskedMatrix::MaskedProduct(A, B).value(1, 1), 0.0);
}

TEST(MaskedMatrix, CompleteFlagsByColumnOrByRow) {
  MaskedMatrix wide(2, 3);
  wide.setValid(2, 2, false);
  const MaskedSeries c = wide.CompleteFlags();
  ASSERT_EQ(c.length(), 3);
  EXPECT_TRUE(c.isValid(1));
  EXPECT_FALSE(c.isValid(2));
  EXPECT_TRUE(c.isValid(3));

  MaskedMatrix tall(3, 2);
  tall.setValid(3, 1, false);
  const MaskedSeries r = tall.CompleteFlags();
  ASSERT_EQ(r.length(), 3);
  EXPECT_TRUE(r.isValid(1));
  EXPECT_TRUE(r.isValid(2));
  EXPECT_FALSE(r.isValid(3));
}

}  // namespace
}  // namespace vorel
