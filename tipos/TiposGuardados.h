// Where the three percentage lists are kept: the keys "TiposIVA", "TiposRE" and "TiposIRPF"
// of the form's section, each one text of items separated by ";" ("0;4;10;21"). The
// settings store quotes such a text when it writes it; a hand-written key needs the quotes
// too, for an INI file reads an unquoted ";" as the start of a comment.
#pragma once

#include "receipt/TiposImpositivos.h"

namespace platform {
class SettingsStore;
}

namespace tipos {

// The three lists as the store holds them; an absent key gives the original list.
Listas Leer(const platform::SettingsStore& store);

// Writes the three keys at once. When every list holds just the original items the keys
// are removed instead, so the settings read as they did before the lists could be chosen.
// Does not flush.
void Escribir(platform::SettingsStore& store, const Listas& listas);

} // namespace tipos
