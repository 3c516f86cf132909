#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build and the tests need
# and this machine does not have yet. Run as root.
set -euo pipefail
paquetes=(cmake ninja-build g++ pkg-config
          qt6-base-dev qt6-svg-dev qt6-tools-dev qt6-tools-dev-tools qt6-documentation-tools
          qt6-translations-l10n libqt6sql6-sqlite python3 libgtest-dev libgmock-dev fontconfig libfontconfig-dev fonts-dejavu-core
          poppler-utils desktop-file-utils appstream shared-mime-info gzip man-db lintian locales)
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

# The regional settings the tests run under, as users have them: the
# program's numbers and dates must come out right in each.
locales_pruebas=(es_ES.UTF-8 ca_ES.UTF-8 de_DE.UTF-8 fr_FR.UTF-8 en_US.UTF-8)
generar=0
for l in "${locales_pruebas[@]}"; do
    normal=$(echo "$l" | sed 's/UTF-8/utf8/')
    if ! locale -a 2>/dev/null | grep -qx "$normal"; then
        generar=1
        if grep -q "^# *$l UTF-8" /etc/locale.gen; then
            sed -i "s/^# *$l UTF-8/$l UTF-8/" /etc/locale.gen
        elif ! grep -q "^$l UTF-8" /etc/locale.gen; then
            echo "$l UTF-8" >> /etc/locale.gen
        fi
    fi
done
if [ $generar = 1 ]; then
    echo "Generando locales: ${locales_pruebas[*]}"
    locale-gen
fi
