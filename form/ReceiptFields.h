// The receipt form's data: what the user typed or chose, as the form's exchange leaves it.
// Kept apart from the dialog so that the saved settings and the print command can work
// on the fields without knowing the widgets.
#pragma once

#include "amounts/moneda.h"

#include <cstdint>
#include <string>

struct ReceiptFields {
    std::string m_Numero;
    std::string m_Localidad;
    std::string m_Vencimiento;
    std::int32_t m_Dia = 0;
    std::string m_Mes;
    std::int32_t m_Anio = 0;
    std::string m_Concepto1, m_Concepto2, m_Concepto3, m_Concepto4, m_Concepto5;
    moneda::Currency m_Importe1, m_Importe2, m_Importe3, m_Importe4, m_Importe5;
    std::string m_Iva, m_Re, m_Irpf;
    moneda::Currency m_ImporteIva, m_ImporteRe, m_ImporteIrpf;
    moneda::Currency m_Total;
    moneda::Currency m_Importe; // the "Importe" box: always a copy of the total
    std::string m_Pagador1, m_Pagador2;
    std::string m_Cobrador1, m_Cobrador2;
    std::string m_Direccion;
    std::string m_Color;
    std::string m_Relleno;
    std::int32_t m_Banner = 0;     // banner slot; set when the form opens
    std::int32_t m_VerPesetas = 0; // 1 while the peseta column is shown
};
