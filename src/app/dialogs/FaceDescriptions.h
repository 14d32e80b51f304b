#pragma once
// The descriptions of the dialogs' faces, one function per dialog class.

#include "app/dialogs/FaceDescription.h"

namespace vorel::faces {

FaceDescription GraphOption();

}  // namespace vorel::faces
