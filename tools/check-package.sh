#!/usr/bin/env bash
# Builds the Debian package from a built tree (by default build/) and checks
# it as a Debian user's desktop would meet it:
#   - lintian reports no error and no warning;
#   - unpacked into a throw-away root, every file lies where the desktop
#     looks for it, and nothing lies anywhere else;
#   - the launcher, the software centre's description and the file type
#     pass their validators and name each other and the installed files;
#   - the installed programs answer --help without a display, and their
#     manual pages cover every option and command the help names;
#   - a build without tests does not need Qt Test.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
id=io.github.quillet.Quillet

fail() {
  echo "check-package: $*" >&2
  exit 1
}

rm -f "$build"/quillet_*.deb
(cd "$build" && cpack -G DEB >/dev/null) || fail "cpack could not build the package"
debs=("$build"/quillet_*.deb)
deb=${debs[0]}
[ -f "$deb" ] || fail "no package was built"
version=$(dpkg-deb -f "$deb" Version)

echo "lintian $(basename "$deb"):"
lintian --fail-on error,warning --display-info "$deb" || fail "lintian found errors or warnings"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"

expected=(
  usr/bin/quillet
  usr/bin/quillet-cli
  "usr/share/applications/$id.desktop"
  "usr/share/metainfo/$id.metainfo.xml"
  usr/share/mime/packages/quillet.xml
  usr/share/icons/hicolor/scalable/apps/quillet.svg
  usr/share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/quillet.png
  usr/share/man/man1/quillet.1.gz
  usr/share/man/man1/quillet-cli.1.gz
  usr/share/doc/quillet/copyright
  usr/share/doc/quillet/changelog.gz
  usr/share/lintian/overrides/quillet
)
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$root" && find . ! -type d | sed 's|^\./||' | sort) ||
  fail "the installed files are not where the desktop expects them (<: missing, >: unexpected)"

for program in quillet quillet-cli; do
  [ -x "$root/usr/bin/$program" ] || fail "usr/bin/$program is not executable"
done
for png in "$root"/usr/share/icons/hicolor/*x*/apps/quillet.png; do
  size=$(basename "$(dirname "$(dirname "$png")")")
  grep -q "PNG image data, ${size/x/ x }," <<<"$(file -b "$png")" || fail "$png is not a $size picture"
done

# The launcher: valid, and pointing at what the package installs.
desktop=$root/usr/share/applications/$id.desktop
desktop-file-validate "$desktop" || fail "the desktop entry is not valid"
entry() { sed -n "s/^$1=//p" "$desktop" | head -n1; }
[ -x "$root/usr/bin/$(entry Exec | cut -d' ' -f1)" ] || fail "the launcher starts a program the package lacks"
[ -f "$root/usr/share/icons/hicolor/scalable/apps/$(entry Icon).svg" ] || fail "the launcher's icon is not installed"
[ "$(entry StartupNotify)" = true ] || fail "the launcher does not ask for startup notification"
# Qt names the windows' class after the application: "Quillet".
[ "$(entry StartupWMClass)" = Quillet ] || fail "StartupWMClass does not match the windows' class"
mime_type=$(entry MimeType | tr -d ';')
grep -q "<mime-type type=\"$mime_type\">" "$root/usr/share/mime/packages/quillet.xml" ||
  fail "the launcher's file type $mime_type is not declared"
XDG_DATA_DIRS=$root/usr/share update-mime-database "$root/usr/share/mime" || fail "the file type does not build into a MIME database"

# The software centre's description.
metainfo=$root/usr/share/metainfo/$id.metainfo.xml
appstreamcli validate --no-net "$metainfo" || fail "the AppStream description is not valid"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
  fail "the AppStream description names another launcher"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the AppStream description has no release $version"

# The programs answer without a display, and their manual pages cover them.
nodisplay=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
grep -q "^Quillet Version" <<<"$("${nodisplay[@]}" "$root/usr/bin/quillet" --version)" ||
  fail "quillet --version needs a display"
# The pages as their words read, "\-" as "-".
page() { zcat "$root/usr/share/man/man1/$1.1.gz" | sed 's/\\-/-/g'; }
options() { grep -o -- '--[a-z][a-z-]*' | sort -u; }
for program in quillet quillet-cli; do
  warnings=$(zcat "$root/usr/share/man/man1/$program.1.gz" |
    LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z - 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$program(1) has roff warnings: $warnings"
done
quillet_page=$(page quillet)
for option in $("${nodisplay[@]}" "$root/usr/bin/quillet" --help | options); do
  grep -q -- "$option" <<<"$quillet_page" || fail "quillet(1) does not describe $option"
done
cli_page=$(page quillet-cli)
commands=$("$root/usr/bin/quillet-cli" --help | sed -n '/^Commands:/,/^[^ ]/s/^  \([a-z][a-z-]*\) .*/\1/p')
[ -n "$commands" ] || fail "quillet-cli --help lists no commands"
for command in $commands; do
  grep -qx "\.SS $command" <<<"$cli_page" || fail "quillet-cli(1) has no section for the command $command"
  for option in $("$root/usr/bin/quillet-cli" "$command" --help | options); do
    grep -q -- "$option" <<<"$cli_page" || fail "quillet-cli(1) does not describe $command $option"
  done
done

depends=$(dpkg-deb -f "$deb" Depends)
for package in fonts-liberation2 qt6-qpa-plugins libqt6svg6 libsodium23; do
  grep -qw "$package" <<<"$depends" || fail "the package does not depend on $package"
done

# Qt Test hidden: a build without tests must still configure.
cmake -S . -B "$root/no-tests" -G Ninja --no-warn-unused-cli -DQUILLET_TESTS=OFF -DQt6Test_DIR="$root/none" >/dev/null ||
  fail "a build without tests still needs Qt Test"

echo "check-package: $(basename "$deb") is where the desktop expects it"
