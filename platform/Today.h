#pragma once

namespace platform {

struct LocalDate {
    int dia;
    int mes;
    int anio;
};

// Today's date on this machine's local clock.
LocalDate Today();

} // namespace platform
