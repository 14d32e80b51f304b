// The settings file: layout, defaults, reading rules, location and round trip.

#include <sys/stat.h>

#include "DocumentFixture.h"
#include "document/SettingsFile.h"

namespace vorel::test {
namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const char* const kSections[8] = {"ADD_INFO",   "SERIES",     "EIGENVALUES", "EIGENVECTORS",
                                  "REC_SERIES", "I_R_SERIES", "RESIDUALS",   "DEVIATIONS"};

std::string ExpectedDefaultFile() {
  std::string s =
      "DATA_OPEN\n"
      "Input_DecSeparator: POINT\n"
      "Input_DelComma: N\n"
      "Input_DelSemicolon: N\n"
      "Input_DelSpace: Y\n"
      "Input_DelTab: Y\n"
      "Output_DecSeparator: POINT\n"
      "Output_Del: SPACE\n"
      "MV_code: nan\n";
  for (const char* section : kSections) {
    s += std::string(section) +
         "\nFontHeight: 10\nShowGrid: Y\nShowLegends: N\nMonochrome: N\nShowMV: Y\nAutoX: Y\n"
         "AutoY: Y\nXLeftBound: 1\nXRightBound: 100\nYLowerBound: 0.\nYUpperBound: 100.\n"
         "ShowPoints: Y\nShowScale: Y\nPrecision: 1\n";
  }
  return s;
}

class SettingsFileTest : public DocumentTest {
 protected:
  std::string IniPath() const { return dir + "/vorel.ini"; }
  void WriteIni(const std::string& text) { WriteFile("vorel.ini", text); }
};

TEST_F(SettingsFileTest, FirstRunWritesTheDefaultsAndTheSecondReadsThem) {
  ASSERT_EQ(doc->settingsPath(), IniPath());
  // No file: the document keeps its built-in defaults.
  EXPECT_TRUE(doc->delimComma);
  EXPECT_EQ(doc->outputDelimiter, kDelimiterTab);
  doc->LoadGraphSettings();
  EXPECT_EQ(ReadAll(IniPath()), ExpectedDefaultFile());
  for (const GraphOptions& g : doc->graphOptions) EXPECT_EQ(g, GraphOptions());
  Restart();
  EXPECT_FALSE(doc->delimComma);
  EXPECT_EQ(doc->outputDelimiter, kDelimiterSpace);
  EXPECT_TRUE(doc->delimSpace && doc->delimTab);
  EXPECT_FALSE(doc->delimSemicolon);
  EXPECT_EQ(doc->mvCode, "nan");
  // Reading the default file gives the options every graph starts with.
  doc->graphOptions[3].AutoX = false;
  doc->LoadGraphSettings();
  for (const GraphOptions& g : doc->graphOptions) EXPECT_EQ(g, GraphOptions());
}

TEST_F(SettingsFileTest, SaveAllWritesTheCurrentStateLiterally) {
  doc->inputDecimal = kDecimalComma;
  doc->delimComma = false;
  doc->delimSemicolon = true;
  doc->delimSpace = false;
  doc->delimTab = true;
  doc->outputDecimal = kDecimalComma;
  doc->outputDelimiter = kDelimiterTab;
  doc->mvCode = "-999";
  GraphOptions& g = doc->graphOptions[5];
  g.SetFontHeight(13);
  g.ShowGrid = false;
  g.ShowLegends = true;
  g.Monochrome = true;
  g.ShowMV = false;
  g.AutoX = false;
  g.AutoY = false;
  g.XLeftBound = -3;
  g.XRightBound = 250;
  g.YLowerBound = -0.5;
  g.YUpperBound = 1234567.0;
  g.ShowPoints = false;
  g.ShowScale = false;
  g.Precision = 4;
  doc->graphOptions[6].YLowerBound = 1e-5;
  doc->graphOptions[6].YUpperBound = 0.1;
  doc->ExecuteCommand(kCmdSaveAllSettings);

  std::string expected =
      "DATA_OPEN\nInput_DecSeparator: COMMA\nInput_DelComma: N\nInput_DelSemicolon: Y\n"
      "Input_DelSpace: N\nInput_DelTab: Y\nOutput_DecSeparator: COMMA\nOutput_Del: TAB\n"
      "MV_code: -999\n";
  const std::string plain =
      "\nFontHeight: 10\nShowGrid: Y\nShowLegends: N\nMonochrome: N\nShowMV: Y\nAutoX: Y\n"
      "AutoY: Y\nXLeftBound: 1\nXRightBound: 100\nYLowerBound: 0\nYUpperBound: 100\n"
      "ShowPoints: Y\nShowScale: Y\nPrecision: 1\n";
  for (int i = 0; i < 8; ++i) {
    expected += kSections[i];
    if (i == 5) {
      expected +=
          "\nFontHeight: 13\nShowGrid: N\nShowLegends: Y\nMonochrome: Y\nShowMV: N\nAutoX: N\n"
          "AutoY: N\nXLeftBound: -3\nXRightBound: 250\nYLowerBound: -0.5\n"
          "YUpperBound: 1.23457e+06\nShowPoints: N\nShowScale: N\nPrecision: 4\n";
    } else if (i == 6) {
      expected +=
          "\nFontHeight: 10\nShowGrid: Y\nShowLegends: N\nMonochrome: N\nShowMV: Y\nAutoX: Y\n"
          "AutoY: Y\nXLeftBound: 1\nXRightBound: 100\nYLowerBound: 1e-05\nYUpperBound: 0.1\n"
          "ShowPoints: Y\nShowScale: Y\nPrecision: 1\n";
    } else {
      expected += plain;
    }
  }
  EXPECT_EQ(ReadAll(IniPath()), expected);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(SettingsFileTest, RoundTripBringsEveryOptionBack) {
  doc->inputDecimal = kDecimalComma;
  doc->delimComma = false;
  doc->delimSemicolon = true;
  doc->delimSpace = false;
  doc->delimTab = false;
  doc->outputDecimal = kDecimalComma;
  doc->outputDelimiter = kDelimiterSpace;
  doc->mvCode = "N/A";
  GraphOptionsSet saved;
  for (int i = 0; i < 8; ++i) {
    GraphOptions& g = saved[i];
    g.SetFontHeight(8 + i);
    g.ShowGrid = i % 2 == 0;
    g.ShowLegends = i % 3 == 0;
    g.Monochrome = i % 2 == 1;
    g.ShowMV = i % 4 == 0;
    g.AutoX = i % 2 == 1;
    g.AutoY = i % 3 == 1;
    g.XLeftBound = 2 + i;
    g.XRightBound = 300 + 7 * i;
    g.YLowerBound = -1.25 * i;
    g.YUpperBound = 10.5 + i;
    g.ShowPoints = i % 3 == 2;
    g.ShowScale = i % 2 == 0;
    g.Precision = i;
  }
  doc->graphOptions = saved;
  doc->SaveAllSettings();
  Restart();
  doc->LoadGraphSettings();
  EXPECT_EQ(doc->inputDecimal, kDecimalComma);
  EXPECT_FALSE(doc->delimComma || doc->delimSpace || doc->delimTab);
  EXPECT_TRUE(doc->delimSemicolon);
  EXPECT_EQ(doc->outputDecimal, kDecimalComma);
  EXPECT_EQ(doc->outputDelimiter, kDelimiterSpace);
  EXPECT_EQ(doc->mvCode, "N/A");
  for (int i = 0; i < 8; ++i) EXPECT_EQ(doc->graphOptions[i], saved[i]) << kSections[i];
}

TEST_F(SettingsFileTest, ReadingRules) {
  WriteIni(
      "FontHeight: 13\n"  // before any section: ADD_INFO
      "AutoY: N extra words\n"
      "DATA_OPEN\n"
      "Input_DelTab: N\n"
      "Input_DecSeparator: DOT\n"  // unknown value: unchanged
      "Output_Del: tab\n"          // case matters: unchanged
      "Output_DecSeparator: COMMA\n"
      "  MV_code:   ?? trailing\n"
      "SERIES\n"
      "AutoX: y\n"  // not exactly Y: false
      "FontHeight: 12.9\n"
      "XLeftBound: abc\n"  // not a number: 0
      "XRightBound: 77.9\n"
      "YLowerBound: -2.5e1\n"
      "YUpperBound: 7x\n"
      "Precision: -3.7\n"
      "autox: N\n"    // keys are case-sensitive
      "ShowGrid:N\n"  // the whole first word is the key
      "EIGENVALUES\n"
      "ShowMV: N\n"
      "Precision: +-4\n"  // a sign after the plus: not a number, 0
      "SERIES\n"
      "ShowPoints: N\n"  // a section named again is selected again
      "DEVIATIONS\n"
      "Monochrome: Y\n"
      "Monochrome:\n");  // no value: false
  Restart();
  EXPECT_FALSE(doc->delimTab);
  EXPECT_TRUE(doc->delimComma && doc->delimSpace);  // built-in defaults kept
  EXPECT_FALSE(doc->delimSemicolon);
  EXPECT_EQ(doc->inputDecimal, kDecimalPoint);
  EXPECT_EQ(doc->outputDelimiter, kDelimiterTab);
  EXPECT_EQ(doc->outputDecimal, kDecimalComma);
  EXPECT_EQ(doc->mvCode, "??");

  doc->LoadGraphSettings();
  const GraphOptionsSet& g = doc->graphOptions;
  EXPECT_EQ(g[0].FontHeight, 13);
  EXPECT_EQ(g[0].normalFontWidth, 7);
  EXPECT_EQ(g[0].largeFontHeight, 16);
  EXPECT_EQ(g[0].largeFontWidth, 8);
  EXPECT_FALSE(g[0].AutoY);
  EXPECT_FALSE(g[1].AutoX);
  EXPECT_EQ(g[1].FontHeight, 12);
  EXPECT_EQ(g[1].normalFontWidth, 6);
  EXPECT_EQ(g[1].largeFontHeight, 15);
  EXPECT_EQ(g[1].largeFontWidth, 7);
  EXPECT_EQ(g[1].XLeftBound, 0);
  EXPECT_EQ(g[1].XRightBound, 77);
  EXPECT_EQ(g[1].YLowerBound, -25.0);
  EXPECT_EQ(g[1].YUpperBound, 7.0);
  EXPECT_EQ(g[1].Precision, -3);
  EXPECT_TRUE(g[1].ShowGrid);
  EXPECT_FALSE(g[1].ShowPoints);
  EXPECT_FALSE(g[2].ShowMV);
  EXPECT_EQ(g[2].Precision, 0);
  EXPECT_FALSE(g[7].Monochrome);
  for (int i : {3, 4, 5, 6}) EXPECT_EQ(g[i], GraphOptions()) << i;
}

TEST_F(SettingsFileTest, MissingValueCode) {
  struct Case {
    std::string line;
    std::string code;
  };
  const std::string code39(39, 'm');
  const std::vector<Case> cases{
      {"MV_code:", ""},
      {"MV_code: " + code39, code39},
      {"MV_code: " + code39 + "x", "nan"},  // too long: refused, not cut
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    WriteIni("DATA_OPEN\n" + c.line + "\n");
    Restart();
    EXPECT_EQ(doc->mvCode, c.code);
  }
}

TEST_F(SettingsFileTest, HugeNumbersStayWithinRange) {
  WriteIni(
      "SERIES\nXRightBound: 1e30\nXLeftBound: -1e30\nYUpperBound: 1e999\nFontHeight: 1e30\n"
      "EIGENVALUES\nFontHeight: -1e30\n");
  doc->LoadGraphSettings();
  constexpr int kMax = std::numeric_limits<int>::max();
  constexpr int kMin = std::numeric_limits<int>::min();
  const GraphOptionsSet& g = doc->graphOptions;
  EXPECT_EQ(g[1].XRightBound, kMax);
  EXPECT_EQ(g[1].XLeftBound, kMin);
  EXPECT_EQ(g[1].YUpperBound, 0.0);
  // The derived font sizes of a clamped height: (h+1)/2, 5h/4 and 5((h+1)/2)/4
  // truncated, stopping at the ends of int.
  EXPECT_EQ(g[1].FontHeight, kMax);
  EXPECT_EQ(g[1].normalFontWidth, 1073741824);
  EXPECT_EQ(g[1].largeFontHeight, kMax);
  EXPECT_EQ(g[1].largeFontWidth, 1342177280);
  EXPECT_EQ(g[2].FontHeight, kMin);
  EXPECT_EQ(g[2].normalFontWidth, -1073741823);
  EXPECT_EQ(g[2].largeFontHeight, kMin);
  EXPECT_EQ(g[2].largeFontWidth, -1342177278);
}

TEST_F(SettingsFileTest, LocationFallsBackToTheConfigurationFolder) {
  const std::string config = dir + "/config";
  const char* old = std::getenv("XDG_CONFIG_HOME");
  const std::string saved = old ? old : "";
  setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  EXPECT_EQ(SettingsFile::Locate(dir), dir + "/vorel.ini");
  const std::string fallback = SettingsFile::Locate(dir + "/no-such-folder");
  EXPECT_EQ(fallback, config + "/vorel/vorel.ini");
  SettingsFile(fallback).WriteDefaultSettings();
  EXPECT_EQ(ReadAll(fallback), ExpectedDefaultFile());
  if (old) {
    setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
  } else {
    unsetenv("XDG_CONFIG_HOME");
  }
}

TEST_F(SettingsFileTest, UnwritableFileIsSilent) {
  WriteFile("blocker", "x");
  const SettingsFile file(dir + "/blocker/vorel.ini");
  file.SaveAllSettings(doc->fileOptions(), doc->graphOptions);
  file.WriteDefaultSettings();
  GraphOptionsSet graphs;
  graphs[0].AutoX = false;
  file.LoadGraphSettings(graphs);  // cannot read, cannot write: options stay
  EXPECT_FALSE(graphs[0].AutoX);
  EXPECT_EQ(ReadAll(dir + "/blocker"), "x");
  EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace vorel::test
