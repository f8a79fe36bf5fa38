// Produces the stored, scrambled form of a link that ObtenerEnlace turns back into the
// link. Kept out of the program's own library: the program only ever reads stored links.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace talvero_tools {

// Three digits per byte of the link. Printable ASCII always has a stored form; a byte
// that cannot be stored (control characters, most bytes above 127) gives no result.
std::optional<std::string> ScrambleLink(std::string_view link);

} // namespace talvero_tools
