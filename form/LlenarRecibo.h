// The print command's copy of the form into a receipt record: texts and amounts as they
// are, the issue date made into a date value at 01:01:01, the colour and fill names made
// into a colour and a fill flag, and no logo strip.
#pragma once

#include "form/ReceiptFields.h"

class CRecibo;

void LlenarRecibo(const ReceiptFields& f, CRecibo& rec);
