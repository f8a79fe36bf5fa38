#include "amounts/moneda.h"

namespace moneda {

std::string CapitalizeFirst(std::string_view text)
{
    // Byte-wise on UTF-8: an accented letter starts with a byte above 127, which is left
    // as it is, so no multibyte character can be split or altered.
    std::string result(text);
    if (!result.empty() && result[0] >= 'a' && result[0] <= 'z')
        result[0] = static_cast<char>(result[0] - 'a' + 'A');
    return result;
}

} // namespace moneda
