#pragma once

#include <string>
#include <utility>

#include "document/FileOptions.h"
#include "document/GraphOptions.h"

namespace vorel {

// The settings file "vorel.ini": the reading options of data files, the
// missing-value code, the writing options of exported series and the options
// of the eight graphs. A line-oriented text file; only the first word of a
// line (the key, with its colon) and the second (the value) count.
class SettingsFile {
 public:
  static constexpr const char* kFileName = "vorel.ini";

  // Where the file lives: in programFolder when that folder can be written,
  // else in the user's configuration folder ($XDG_CONFIG_HOME/vorel, or
  // ~/.config/vorel).
  static std::string Locate(const std::string& programFolder);

  explicit SettingsFile(std::string path) : path_(std::move(path)) {}
  const std::string& path() const { return path_; }

  // Reads the reading and writing options and the missing-value code into
  // options; keeps their values when the file cannot be read. A code longer
  // than FileOptions::kMaxMvCodeLength is refused (the code stays).
  void LoadInputSettings(FileOptions& options) const;
  // Reads the options of the eight graphs; when the file cannot be read,
  // writes the default file instead and leaves the options as they are.
  void LoadGraphSettings(GraphOptionsSet& graphs) const;
  // Creates the file with the default content. Silent on failure.
  void WriteDefaultSettings() const;
  // Rewrites the whole file from the file options and the graphs. Silent on
  // failure; a failed write leaves the former file as it was.
  void SaveAllSettings(const FileOptions& options, const GraphOptionsSet& graphs) const;

  // The texts written by WriteDefaultSettings and SaveAllSettings.
  static std::string DefaultContent();
  static std::string Content(const FileOptions& options, const GraphOptionsSet& graphs);

 private:
  std::string path_;
};

}  // namespace vorel
