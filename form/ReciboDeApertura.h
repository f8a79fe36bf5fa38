// The receipt the form would open with now, without opening it: the saved settings, today's
// date, the colour and fill as the form's lists select them. The template of a list of
// receipts emitted from the command line.
#pragma once

#include "receipt/Recibo.h"

namespace platform {
class SettingsStore;
}

CRecibo ReciboDeApertura(const platform::SettingsStore& ajustes);
