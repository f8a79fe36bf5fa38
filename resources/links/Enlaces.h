// The distributor's links. Only their scrambled forms are stored in the program; the
// plain texts exist only at run time, when they are needed.
#pragma once

#include <string>

namespace enlaces {

std::string Web();    // the web site, as a link to open (e.g. "https://...")
std::string Correo(); // the mail address, as a "mailto:" link
std::string Banner(); // the banner's link: the same stored text as the web site

// The distributor's name, which is also the settings store's company key. Stored like the
// links, so that the program file does not spell it either.
std::string Empresa();

// What the user is shown: the web address without its scheme and trailing "/", and the
// bare mail address.
std::string DireccionWeb();
std::string DireccionCorreo();

} // namespace enlaces
