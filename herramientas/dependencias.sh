#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build and the tests need
# and this machine does not have yet. Run as root.
set -euo pipefail
paquetes=(cmake ninja-build g++ pkg-config
          qt6-base-dev qt6-svg-dev qt6-tools-dev qt6-tools-dev-tools qt6-documentation-tools
          qt6-translations-l10n libqt6sql6-sqlite python3 libgtest-dev libgmock-dev fontconfig fonts-dejavu-core
          poppler-utils desktop-file-utils appstream shared-mime-info gzip man-db lintian)
faltan=()
for p in "${paquetes[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || faltan+=("$p")
done
if [ ${#faltan[@]} -gt 0 ]; then
    echo "Instalando: ${faltan[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q --no-install-recommends "${faltan[@]}"
fi
