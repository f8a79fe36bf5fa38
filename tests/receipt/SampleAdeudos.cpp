#include "SampleAdeudos.h"

#include "SampleRecords.h"

#include <array>

namespace sample {

namespace {

// The remainder by 97 of a code read with A = 10 ... Z = 35, over its decimal expansion.
int Mod97(const std::string& code) {
    std::string digits;
    for (const char c : code)
        digits += (c >= 'A' && c <= 'Z') ? std::to_string(c - 'A' + 10) : std::string(1, c);
    int rest = 0;
    for (const char d : digits)
        rest = (rest * 10 + (d - '0')) % 97;
    return rest;
}

std::string TwoDigits(int n) {
    return std::string(1, char('0' + n / 10)) + char('0' + n % 10);
}

int AccountDigit(const std::string& ten) {
    constexpr std::array<int, 10> weights{1, 2, 4, 8, 5, 10, 9, 7, 3, 6};
    int sum = 0;
    for (std::size_t i = 0; i < 10; ++i)
        sum += (ten[i] - '0') * weights[i];
    const int d = 11 - sum % 11;
    return d == 11 ? 0 : d == 10 ? 1 : d;
}

} // namespace

sepa::Acreedor AcreedorEjemplo() {
    // ES72000H50123456 and ES5812345678010123456789, worked out by hand.
    return {"COMUNIDAD DE PROPIETARIOS C/ PEÑA & CÍA, 12", "ES72 000 H50123456",
            "ES58 1234 5678 0101 2345 6789", "FICTESMMXXX"};
}

std::string IbanFicticio(std::uint64_t n) {
    std::string account = std::to_string(n % 10000000000ULL);
    account.insert(0, 10 - account.size(), '0');
    const std::string bankBranch = "12345678";
    const std::string bban = bankBranch + std::to_string(AccountDigit("00" + bankBranch)) +
                             std::to_string(AccountDigit(account)) + account;
    return "ES" + TwoDigits(98 - Mod97(bban + "ES00")) + bban;
}

sepa::Adeudo AdeudoEjemplo(std::uint64_t n) {
    sepa::Adeudo a = sepa::AdeudoDelRecibo(Varied(n));
    if (!a.total.isValid() || a.total.value() < 50)
        a.total = Euros(std::int64_t(100 + n % 1000));
    a.iban = IbanFicticio(n);
    a.bic = n % 3 == 0 ? "" : "FICTESMMXXX";
    a.mandato = "MANDATO-" + std::to_string(n);
    a.fechaMandato = std::chrono::year(2020) / 1 / 15;
    a.secuencia = sepa::kSecuencias[n % sepa::kSecuencias.size()];
    return a;
}

} // namespace sample
