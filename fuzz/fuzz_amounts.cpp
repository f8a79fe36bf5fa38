// Feeds arbitrary bytes to every text reader of the money core and checks that what the
// writers produce reads back. Any mismatch traps, which libFuzzer reports as a crash.
#include "amounts/moneda.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

namespace {

void Check(bool condition) {
    if (!condition)
        __builtin_trap();
}

// Half away from zero to a whole number of cents, on the unsigned magnitude.
std::int64_t RoundedToCent(std::int64_t x) {
    const std::uint64_t m =
        x < 0 ? 0 - static_cast<std::uint64_t>(x) : static_cast<std::uint64_t>(x);
    const std::uint64_t r = m - m % 100 + (m % 100 >= 50 ? 100 : 0);
    return static_cast<std::int64_t>(x < 0 ? 0 - r : r);
}

void CheckWriters(std::int64_t x) {
    const moneda::Currency amount(x);
    const std::string euros = moneda::FormatEuros(amount);
    Check(moneda::ParseAmount(euros) == moneda::Currency(RoundedToCent(x)));
    const std::string plain = moneda::FormatPlainEuros(amount);
    Check(moneda::ParseCurrency(plain) == amount);

    // The euro edit's text from pesetas reads back to a valid amount of whole cents.
    const moneda::Currency fromPesetas = moneda::ParseCurrency(moneda::PesetasToEurosText(amount));
    Check(fromPesetas.isValid() && fromPesetas.value() % 100 == 0);

    const std::string pesetas = moneda::EurosToPesetasText(amount);
    Check(!pesetas.empty() && (pesetas[0] == '-') == (x < 0));
    const moneda::Currency pesetasRead = moneda::ParseCurrency(pesetas);
    // The largest euro amounts give pesetas past the amount type: out of range, not garbage.
    Check(pesetasRead.isValid() ? pesetasRead.value() % 10000 == 0
                                : pesetasRead.value() == std::numeric_limits<std::int64_t>::min());

    const std::int64_t whole = x / 10000;
    Check(moneda::ParseCurrency(moneda::FormatThousands(whole)) == moneda::Currency(whole * 10000));
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The group rule, stated on its own: in a text that reads as a number, every "." is
// followed by groups of exactly three digits, each closed by another ".", by the "," or by
// the end (blanks after the number aside). A "." typed as a decimal point never reads.
bool DotsAreGroupSeparators(std::string_view text) {
    std::size_t end = text.size();
    while (end > 0 && (text[end - 1] == ' ' || text[end - 1] == '\t'))
        --end;
    const std::string_view number = text.substr(0, end);
    for (std::size_t p = number.find('.'); p != std::string_view::npos;
         p = number.find('.', p + 1)) {
        if (p == 0 || !IsDigit(number[p - 1]))
            return false;
        std::size_t q = p + 1;
        std::size_t run = 0;
        while (q < number.size() && IsDigit(number[q])) {
            ++run;
            ++q;
        }
        if (run != 3)
            return false;
        if (q != number.size() && number[q] != '.' && number[q] != ',')
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const moneda::Currency amount = moneda::ParseAmount(text);
    Check(amount.isValid());
    const moneda::Currency strict = moneda::ParseCurrency(text);
    if (strict.isValid()) {
        Check(DotsAreGroupSeparators(text));
        Check(amount == strict);
        CheckWriters(strict.value());
    } else {
        Check(amount == moneda::Currency(0));
        Check(strict.value() == 0 || strict.value() == std::numeric_limits<std::int64_t>::min());
    }

    (void)moneda::ParseInteger(text);
    (void)moneda::ParseDecimal(text);
    const int mes = moneda::MesANumero(text);
    Check(mes >= 0 && mes <= 12);
    if (mes != 0)
        Check(moneda::NumeroAMes(mes) == text);
    Check(moneda::ObtenerEnlace(text).size() == size / 3);
    const std::string capital = moneda::CapitalizeFirst(text);
    Check(capital.size() == size && (size == 0 || capital.substr(1) == text.substr(1)));

    // The raw bytes as an amount, to reach the extremes that typed text rarely does.
    if (size >= sizeof(std::int64_t)) {
        std::int64_t raw = 0;
        std::memcpy(&raw, data, sizeof raw);
        CheckWriters(raw);
    }
    return 0;
}
