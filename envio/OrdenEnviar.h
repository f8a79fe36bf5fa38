// "--verifactu-enviar": the pending invoicing records sent without a window, the first
// submission at once and the next ones at the agency's pace, until none is left or a
// submission fails. The certificate's password comes from the environment variable
// TALVERO_CLAVE_CERTIFICADO. Each refused record is named on standard error with the
// agency's code and text. Exit status 0 when nothing is left pending and nothing was
// refused, 1 otherwise.
#pragma once

namespace envio {

inline constexpr char kVariableClave[] = "TALVERO_CLAVE_CERTIFICADO";

// `plazoMs`: how long a silent service is waited for.
int EnviarDesdeLineaDeOrdenes(int plazoMs = 60'000);

} // namespace envio
