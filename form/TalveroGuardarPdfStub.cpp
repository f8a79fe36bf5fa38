#include "form/TalveroDlg.h"
void CTalveroDlg::OnGuardarPdf() {}
void CTalveroDlg::GuardarPdf(const CRecibo&) {}
