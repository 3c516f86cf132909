#!/usr/bin/env bash
# Compara pelmora-calc --json con el oráculo de herramientas/oraculo.py sobre
# cálculos generados al azar por herramientas/generar_casos.py.
#
# Uso: herramientas/comparar_oraculo.sh [CANTIDAD] [SEMILLA] [CARPETA]
#   CANTIDAD  archivos a generar (2000)
#   SEMILLA   semilla del azar (1)
#   CARPETA   dónde dejarlos (un directorio temporal nuevo)
# Variables: PELMORA_CALC (ruta del ejecutable; si falta, se compila en
# build-oraculo sin interfaz ni pruebas).
# Termina con 0 si no hay diferencias y con 1 si las hay.
set -euo pipefail
cd "$(dirname "$0")/.."
cantidad=${1:-2000}
semilla=${2:-1}
carpeta=${3:-$(mktemp -d /tmp/oraculo-casos.XXXXXX)}

calc=${PELMORA_CALC:-build-oraculo/pelmora-calc}
if [[ -z ${PELMORA_CALC:-} ]]; then
    cmake -S . -B build-oraculo -G Ninja -DPELMORA_GUI=OFF -DPELMORA_TESTS=OFF >/dev/null
    cmake --build build-oraculo -j2 --target pelmora-calc >/dev/null
fi

python3 herramientas/generar_casos.py "$carpeta" "$cantidad" "$semilla"
python3 herramientas/oraculo.py --comparar "$calc" "$carpeta"/*.clc
