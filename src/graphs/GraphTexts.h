#pragma once

#include <string>
#include <vector>

namespace vorel {

// The text lines of one graph panel. titles, subtitles and both caption arrays
// hold one entry per graph; legends hold graph count x curve count entries, the
// entry of curve j of graph i at i * curve count + j. An empty string leaves
// its line out.
struct GraphTexts {
  std::vector<std::string> titles;
  std::vector<std::string> subtitles;
  std::vector<std::string> firstCaptions;
  std::vector<std::string> secondCaptions;
  std::vector<std::string> legends;

  bool operator==(const GraphTexts&) const = default;
};

}  // namespace vorel
