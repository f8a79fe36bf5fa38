# Installing Talvero like any desktop program, and its Debian package.
#
# What is installed is what the program needs at run time and nothing more: the program
# (its pictures and templates are compiled in), its desktop entry and its icon at the
# usual sizes. `make install` installs under ~/.local or /usr/local, `make package` builds
# build/talvero_<version>_<arch>.deb with CPack.
include(GNUInstallDirs)

install(TARGETS talvero RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES ${PROJECT_SOURCE_DIR}/packaging/talvero.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

# The icon files are the ones compiled into the program (resources/pictures/icons).
foreach(size 16 32 48 64 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/pictures/icons/talvero-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
    RENAME talvero.png)
endforeach()

# --- Debian package -----------------------------------------------------------------------
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "talvero")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "Quenlaria")
set(CPACK_PACKAGE_CONTACT "Quenlaria <info@quenlaria.es>")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quenlaria <info@quenlaria.es>")
set(CPACK_DEBIAN_PACKAGE_SECTION "office")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.quenlaria.es/")
# The shared libraries come from dpkg-shlibdeps. What it cannot see: the fonts of the
# printed receipt, Qt's Spanish translations of its own dialogs and Qt's SQLite driver (a
# plugin) for the register of issued receipts, all loaded at run time.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, qt6-translations-l10n, libqt6sql6-sqlite")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "recibos de pago: rellenar e imprimir / payment receipts: fill in and print
Talvero rellena e imprime recibos de pago en papel en blanco: número,
localidad, fechas, cinco conceptos con sus importes, IVA, recargo de
equivalencia e IRPF, pagador y cobrador. Calcula impuestos y total mientras
escribe, muestra euros y, si lo desea, pesetas, recuerda sus datos y imprime
el recibo como un formulario en color, uno por página.

Talvero fills in and prints Spanish payment receipts on blank paper: number,
place, dates, five concept lines with their amounts, VAT, equivalence
surcharge and income-tax withholding, payer and collector. It computes taxes
and total as you type, shows euros and, on request, pesetas, remembers its
settings and prints the receipt as a coloured form, one per page.")

include(CPack)
