// The conversions of the dialogs' data exchange.

#include <gtest/gtest.h>

#include "document/dialogs/DataExchange.h"

namespace vorel {
namespace {

TEST(DataExchange, Integers) {
  const std::vector<std::pair<std::string, std::optional<int>>> cases{
      {"12", 12},
      {" -3 ", -3},
      {"+7", 7},
      {"0", 0},
      {"2147483647", 2147483647},
      {"", std::nullopt},
      {"  ", std::nullopt},
      {"1.5", std::nullopt},
      {"7x", std::nullopt},
      {"x7", std::nullopt},
      {"2147483648", std::nullopt},
      {"1 2", std::nullopt},
      {"++1", std::nullopt},
      {"+-1", std::nullopt},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(ParseIntegerField(text), value) << text;
}

TEST(DataExchange, Reals) {
  const std::vector<std::pair<std::string, std::optional<double>>> cases{
      {"1.5", 1.5},          {" -.25 ", -0.25},     {"1e3", 1000.0},
      {"+2", 2.0},           {"", std::nullopt},    {"1,5", std::nullopt},
      {"nan", std::nullopt}, {"inf", std::nullopt}, {"1e999", std::nullopt},
      {"2 3", std::nullopt}, {"+-2", std::nullopt},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(ParseRealField(text), value) << text;
}

TEST(DataExchange, FormatsFifteenSignificantDigits) {
  EXPECT_EQ(FormatRealField(0.1), "0.1");
  EXPECT_EQ(FormatRealField(1.0 / 3.0), "0.333333333333333");
  EXPECT_EQ(FormatRealField(-2.5e20), "-2.5e+20");
  EXPECT_EQ(FormatIntegerField(-42), "-42");
}

}  // namespace
}  // namespace vorel
