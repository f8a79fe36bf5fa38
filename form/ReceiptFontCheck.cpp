// Whether the machine has a face that can write the receipt's text. Without one the page
// would come out as a coloured form with no words on it, or with symbols in their place.
#include "form/TalveroDlg.h"
#include "platform/QtPageSurface.h"
#include "receipt/ReciboLayout.h"

bool CTalveroDlg::ReceiptFontAvailable() {
    if (platform::DrawsText(platform::TextFont(recibo::CARA)))
        return true;
    MessageBoxExclamation(platform::kNoTextFontMessage);
    return false;
}
