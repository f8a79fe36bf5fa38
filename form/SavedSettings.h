// What the receipt form remembers between runs: every key, its type and its default, in
// one place. The form reads and writes its settings only through these operations. The
// items of the percentage lists (TiposIVA, TiposRE, TiposIRPF) have their own place,
// tipos/TiposGuardados.h, for other windows read them too.
#pragma once

#include "form/ReceiptFields.h"

#include <string>

namespace platform {
class SettingsStore;
}

namespace saved_settings {

// Opening, first group: collector, place, due date ("A LA VISTA" when empty), number,
// payer, banner slot (2 when absent), IVA, IRPF and RE ("0" when empty).
void ReadOpeningFirstGroup(const platform::SettingsStore& store, ReceiptFields& f);

// Opening, second group: collector again, concepts, address, the five amounts, colour
// ("AZUL" when empty) and fill ("SOLID" when empty).
void ReadOpeningSecondGroup(const platform::SettingsStore& store, ReceiptFields& f);

// Clear-all: collector, place, due date (no default), percentages ("0" when empty),
// colour and fill (with their defaults).
void ReadForClearAll(const platform::SettingsStore& store, ReceiptFields& f);

// Closing: every key, in the order the form has always written them. Does not flush.
void WriteAtClose(platform::SettingsStore& store, const ReceiptFields& f);

// The folder of the last receipt saved as PDF ("CarpetaPDF"), empty until one is saved. It
// is written when a PDF is saved, not at close; versions that do not save PDFs ignore it.
std::string ReadCarpetaPdf(const platform::SettingsStore& store);
void WriteCarpetaPdf(platform::SettingsStore& store, const std::string& folder);

} // namespace saved_settings
