#include "platform/DataExchange.h"

#include "amounts/moneda.h"
#include "platform/Dialog.h"
#include "platform/WholeCharacters.h"

#include <QLineEdit>
#include <QPushButton>
#include <QString>

#include <limits>
#include <optional>
#include <string_view>

namespace platform {

namespace {

// What a user would recognise as a whole number in an integer field: blanks around it, an
// optional sign, decimal digits only, and a value that fits in 32 bits.
std::optional<std::int32_t> ReadWholeNumber(std::string_view text) {
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
    }
    // Read the magnitude wider than the result so that -2147483648 is accepted.
    std::int64_t magnitude = 0;
    for (char c : text) {
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > std::int64_t(std::numeric_limits<std::int32_t>::max()) + 1)
            return std::nullopt;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return std::int32_t(value);
}

std::string Replace(std::string text, std::string_view marker, const std::string& by) {
    const auto at = text.find(marker);
    if (at != std::string::npos)
        text.replace(at, marker.size(), by);
    return text;
}

std::string TooLongMessage(int maxChars) {
    return Replace("No introduzca más de %1 caracteres.", "%1", std::to_string(maxChars));
}

// Characters as the edits count them, so that a limit and its check agree.
int LengthOf(const std::string& text) {
    return int(QString::fromStdString(text).size());
}

} // namespace

QWidget* DataExchange::Control(int id) const {
    return dialog_.Item(id);
}

void DataExchange::Fail(int id, const std::string& message) {
    if (quiet_)
        return;
    dialog_.MessageBoxExclamation(message);
    dialog_.FocusItem(id, true);
    throw ExchangeStopped{};
}

void DataExchange::Text(int id, std::string& value, int maxChars) {
    if (saving_) {
        value = dialog_.ItemText(id);
    } else {
        dialog_.SetItemText(id, value);
    }
    if (maxChars <= 0)
        return;
    if (saving_ && LengthOf(value) > maxChars) {
        Fail(id, TooLongMessage(maxChars));
        return;
    }
    if (quiet_)
        return; // a look at the controls changes none of them
    // The rule passed: from now on the edit takes no more than that.
    if (auto* edit = qobject_cast<QLineEdit*>(Control(id))) {
        KeepCharactersWhole(edit); // before the limit cuts the text it holds
        if (edit->maxLength() != maxChars)
            edit->setMaxLength(maxChars);
    }
}

void DataExchange::Integer(int id, std::int32_t& value) {
    if (!saving_) {
        dialog_.SetItemText(id, std::to_string(value));
        return;
    }
    const std::optional<std::int32_t> read = ReadWholeNumber(dialog_.ItemText(id));
    if (!read) {
        Fail(id, "Introduzca un número entero.");
        return;
    }
    value = *read;
}

void DataExchange::Integer(int id, std::int32_t& value, std::int32_t min, std::int32_t max) {
    Integer(id, value);
    if (saving_ && (value < min || value > max)) {
        Fail(id, Replace(Replace("Introduzca un número entero entre %1 y %2.", "%1",
                                 std::to_string(min)),
                         "%2", std::to_string(max)));
    }
}

void DataExchange::ListText(int id, std::string& value, int maxChars) {
    if (!saving_) {
        dialog_.SelectListPrefix(id, value);
        return;
    }
    value = dialog_.ListSelectedText(id);
    if (maxChars > 0 && LengthOf(value) > maxChars)
        Fail(id, TooLongMessage(maxChars));
}

void DataExchange::CurrencyText(int id, moneda::Currency& value) {
    if (!saving_) {
        if (value.isValid())
            dialog_.SetItemText(id, moneda::FormatPlainEuros(value));
        return;
    }
    value = moneda::ParseCurrency(dialog_.ItemText(id));
    if (!value.isValid())
        Fail(id, "Introduzca una moneda.");
}

void DataExchange::Attach(int id, QPushButton*& button) {
    if (!button)
        button = qobject_cast<QPushButton*>(Control(id));
}

} // namespace platform
