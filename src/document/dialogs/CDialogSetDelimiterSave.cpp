#include "document/dialogs/CDialogSetDelimiterSave.h"

namespace vorel {

CDialogSetDelimiterSave::CDialogSetDelimiterSave(UiHost& host)
    : Dialog(host, "Delimiter & dec. separator") {
  BindRadio(kIdPoint, decimalIndex);
  BindRadio(kIdSpace, delimiterIndex);
}

}  // namespace vorel
