#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, if any are
# missing, and makes the German locale the tests read numbers under.
# Runs apt as root, or through sudo otherwise.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-svg-dev libgl-dev libxcb1-dev
  libcrypt-dev libsodium-dev nlohmann-json3-dev libofx-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-dev
  xvfb xauth poppler-utils fonts-dejavu-core fonts-liberation2 locales
  # The Debian package and its checks.
  file lintian desktop-file-utils appstream shared-mime-info man-db
)

# A comma-decimal locale: the suite checks that numbers never follow it.
test_locale=de_DE.UTF-8

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
  echo "Generating the $test_locale locale"
  "${sudo[@]}" sed -i "s/^# *\($test_locale UTF-8\)/\1/" /etc/locale.gen
  grep -q "^$test_locale UTF-8" /etc/locale.gen || echo "$test_locale UTF-8" | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null
  "${sudo[@]}" locale-gen >/dev/null
fi
