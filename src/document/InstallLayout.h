#pragma once
// Where the files that ship with the program lie: beside an installed program
// in PREFIX/share/vorel (the program in PREFIX/bin), or in the source tree when
// the program runs from its build folder.

#include <string>

namespace vorel {

// The folder of the bundled example series for the program in programFolder:
// PREFIX/share/vorel/examples when it exists, else the source tree's examples/
// when that exists, else empty.
std::string BundledExamplesFolder(const std::string& programFolder);

// The user guide (user-guide.md) by the same rule: PREFIX/share/vorel/docs, else
// the source tree's docs/; empty when neither holds it.
std::string UserGuideFile(const std::string& programFolder);

}  // namespace vorel
