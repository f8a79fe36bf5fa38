// How a link is shown to the user.
#pragma once

#include <string>
#include <string_view>

namespace enlaces {

// A web link without its scheme and trailing "/" ("https://www.example.es/" gives
// "www.example.es"); a mail link without "mailto:" and without any "?..." part
// ("mailto:info@example.es" gives "info@example.es"). Schemes are matched in any case.
// Text that is neither keeps everything but trailing "/".
std::string DireccionDeEnlace(std::string_view link);

} // namespace enlaces
