// The way back from a receipt record to the form's fields, for a new receipt that starts
// as a copy of one already issued: what LlenarRecibo copied, copied back.
#pragma once

#include "form/ReceiptFields.h"

class CRecibo;

// Texts, amounts and percentages as the record holds them; the date of issue when the
// record's date is a real one (otherwise the form keeps its own); the colour and fill as
// the names of the form's lists. Totals are left for the form to recompute.
void CopiarAlFormulario(const CRecibo& rec, ReceiptFields& f);
