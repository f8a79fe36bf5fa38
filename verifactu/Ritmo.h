// The pace at which submissions may go to the tax agency, as its flow control asks: a
// submission may go once the waiting time of the last answer (TiempoEsperaEnvio; 60 s until
// one has come) has passed since the previous submission, or at once when a whole batch of
// 1000 records is waiting. The first submission of a run goes at once. The time is counted
// from when the previous submission ended (its answer came, or it failed), which is never
// earlier than when it left, so the wait is always at least the agency's. After a technical
// failure (no answer, a fault of the server's side) the same records go again after a delay
// that doubles from a minute up to an hour, so they are retried at least hourly.
// No clock of its own: the caller says what time it is, in milliseconds. Standard C++.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace verifactu {

class Ritmo {
public:
    static constexpr std::int64_t kEsperaInicialMs = 60'000;
    static constexpr std::int64_t kPrimerReintentoMs = 60'000;
    static constexpr std::int64_t kReintentoMaximoMs = 3'600'000;
    static constexpr std::size_t kLoteCompleto = 1000;

    // How long from `ahoraMs` until the next submission may go, 0 when it may go now, with
    // `pendientes` records waiting.
    std::int64_t Espera(std::int64_t ahoraMs, std::size_t pendientes) const;

    // A submission ended at `ahoraMs`: answered, or failed.
    void Acabado(std::int64_t ahoraMs);
    // Its answer came, asking to wait `segundos` (TiempoEsperaEnvio) before the next one.
    void Respondido(int segundos);
    // It failed for a technical reason.
    void Fallido();

    // Failures since the last answer.
    int Fallos() const { return fallos_; }

private:
    std::optional<std::int64_t> ultimoEnvio_;
    std::int64_t esperaMs_ = kEsperaInicialMs;
    int fallos_ = 0;
};

} // namespace verifactu
