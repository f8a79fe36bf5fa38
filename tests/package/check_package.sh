#!/bin/sh
# Builds the Debian package from this build, checks what it holds and declares, unpacks it
# into a temporary root (never system-wide) and starts the unpacked program offscreen: it
# has to show its form and close through its cancel path, saving its settings.
#
# Usage: check_package.sh BUILD_DIR CPACK PROGRAM
# The installed program closes itself through its cancel path when
# TALVERO_TEST_AUTOCLOSE_MS is set, as if the user had pressed "Cancelar".
set -u
build=${1:?usage: check_package.sh BUILD_DIR CPACK PROGRAM}
cpack=${2:?usage: check_package.sh BUILD_DIR CPACK PROGRAM}
program=${3:?usage: check_package.sh BUILD_DIR CPACK PROGRAM}

fail() {
    echo "FAIL: $*"
    exit 1
}

[ -f "$program" ] || fail "the program has not been built ($program)"
[ -f "$build/CPackConfig.cmake" ] || fail "no packaging in this build"
for tool in dpkg-deb desktop-file-validate file strings timeout; do
    command -v "$tool" >/dev/null 2>&1 || fail "$tool is missing (scripts/install-deps.sh installs it)"
done

work=$(mktemp -d "${TMPDIR:-/tmp}/talvero-package.XXXXXX") || fail "no temporary folder"
trap 'rm -rf "$work"' EXIT INT TERM

# --- build the package ---------------------------------------------------------------------
out="$build/package-test"
rm -rf "$out"
(cd "$build" && "$cpack" -G DEB -B "$out") >"$work/cpack.log" 2>&1 || {
    cat "$work/cpack.log"
    fail "cpack could not build the package"
}
set -- "$out"/talvero_*.deb
[ "$#" -eq 1 ] && [ -f "$1" ] || fail "expected one talvero_*.deb in $out, found: $*"
deb=$1
echo "built $(basename "$deb")"

# --- what it declares ------------------------------------------------------------------------
[ "$(dpkg-deb -f "$deb" Package)" = "talvero" ] || fail "package name is not talvero"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for dep in fonts-liberation qt6-translations-l10n libqt6core6 libqt6gui6 libqt6widgets6 \
    libqt6printsupport6 libqt6sql6 libqt6sql6-sqlite; do
    echo "$depends" | tr ',' '\n' | sed 's/^ *//' | grep -q "^$dep\( \|$\)" ||
        fail "Depends lacks $dep"
done
[ -n "$(dpkg-deb -f "$deb" Maintainer)" ] || fail "no Maintainer"
description=$(dpkg-deb -f "$deb" Description)
echo "$description" | grep -q 'recibos de pago' || fail "no Spanish description"
echo "$description" | grep -q 'payment receipts' || fail "no English description"

# --- what it holds: exactly the program, the library it shares with the module, the module
# it loads on first use, its desktop entry and its icons --------------------------------------
dpkg-deb --fsys-tarfile "$deb" | tar -tf - | grep -v '/$' | sed 's|^\./|/|' | sort >"$work/files"
{
    echo /usr/bin/talvero
    echo /usr/lib/talvero/libtalvero-comun.so
    echo /usr/lib/talvero/libtalvero-salida.so
    echo /usr/share/applications/talvero.desktop
    for size in 16 32 48 64 128 256; do
        echo "/usr/share/icons/hicolor/${size}x${size}/apps/talvero.png"
    done
} | sort >"$work/expected"
if ! cmp -s "$work/files" "$work/expected"; then
    echo "package contents differ from what the program needs (- expected, + found):"
    diff -u "$work/expected" "$work/files" | sed -n '3,$p'
    fail "unexpected package contents"
fi

# --- unpack into a temporary root ------------------------------------------------------------
root="$work/root"
dpkg-deb -x "$deb" "$root" || fail "dpkg-deb -x failed"
desktop-file-validate "$root/usr/share/applications/talvero.desktop" ||
    fail "desktop-file-validate rejects the desktop entry"
grep -q '^Exec=talvero$' "$root/usr/share/applications/talvero.desktop" ||
    fail "the desktop entry does not start talvero without arguments"
[ -x "$root/usr/bin/talvero" ] || fail "the installed program is not executable"
for size in 16 32 48 64 128 256; do
    icon="$root/usr/share/icons/hicolor/${size}x${size}/apps/talvero.png"
    file "$icon" | grep -q "PNG image data, $size x $size" || fail "icon $icon is not $size x $size"
done

# --- start it from where it was installed ------------------------------------------------------
home="$work/home"
config="$home/.config"
mkdir -p "$config/Quenlaria"
# A banner slot that only the opening of the form replaces (by 2): finding 2 afterwards
# shows that the form opened, and that its cancel path wrote the settings.
printf '[Aplicacion%%20Talvero]\nBanner%%20Publicidad%%20001=7\n' >"$config/Quenlaria/talvero.conf"

status=0
(cd "$work" && env -u DISPLAY -u WAYLAND_DISPLAY HOME="$home" XDG_CONFIG_HOME="$config" \
    XDG_RUNTIME_DIR="$work" QT_QPA_PLATFORM=offscreen TALVERO_TEST_AUTOCLOSE_MS=300 \
    timeout 60 "$root/usr/bin/talvero") >"$work/run.log" 2>&1 || status=$?
cat "$work/run.log"
[ "$status" -ne 124 ] || fail "the installed program did not close within 60 s"
[ "$status" -eq 0 ] || fail "the installed program exited with status $status"
settings="$config/Quenlaria/talvero.conf"
[ -f "$settings" ] || fail "no settings were written to $settings"
grep -q '^Banner%20Publicidad%20001=2$' "$settings" ||
    fail "the form did not open, or its cancel path did not save (banner slot not 2)"
grep -q '^Cobrador1=' "$settings" || fail "the cancel path did not write every key"

# The register's command line goes through the module, found next to the installed program:
# with no register yet it answers so (status 1) and writes nothing.
status=0
(cd "$work" && env -u DISPLAY HOME="$home" XDG_DATA_HOME="$work/data" \
    timeout 60 "$root/usr/bin/talvero" --exportar-registro "$work/recibos.csv") >"$work/cli.log" 2>&1 ||
    status=$?
grep -q "no hay ningún registro" "$work/cli.log" && [ "$status" -eq 1 ] ||
    { cat "$work/cli.log"; fail "the installed program could not run its command line (status $status)"; }
[ ! -e "$work/recibos.csv" ] || fail "the installed program's command line wrote a CSV from no register"
echo "OK: package built, checked, unpacked and started from $root/usr/bin/talvero"
exit 0
