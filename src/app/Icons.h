#pragma once

#include <QIcon>

namespace vorel {

// The toolbar's pictures, drawn for the program (a null icon for a command
// without a button).
QIcon CommandIcon(int id);
// The program's icon: a series with a gap and its filled reconstruction.
QIcon ApplicationIcon();

}  // namespace vorel
