#!/usr/bin/env bash
# Installs a built tree into a throw-away folder (DESTDIR, prefix /usr) and
# checks the installed layout: the programs, the reference data and help
# under share/pelmora, the manual pages, copyright and changelog, the desktop
# entry, icon, metainfo and MIME type, and that the installed pelmora-calc
# reads the installed reference data. Where cpack and lintian are at hand,
# the Debian package is built too and lintian must find nothing wrong.
#
#   prueba_instalacion.sh BUILD_DIR [ON|OFF: desktop program built]
set -uo pipefail

construccion=${1:?falta la carpeta de compilación}
escritorio=${2:-ON}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
raiz="$tmp/raiz"
fallos=0

falla() { echo "FALLO: $*" >&2; fallos=$((fallos + 1)); }
hay() { command -v "$1" >/dev/null 2>&1; }

if ! DESTDIR="$raiz" cmake --install "$construccion" --prefix /usr >"$tmp/instalacion.log" 2>&1; then
    cat "$tmp/instalacion.log" >&2
    echo "FALLO: cmake --install" >&2
    exit 1
fi
r="$raiz/usr"

# ---- Layout ---------------------------------------------------------------------
[ -x "$r/bin/pelmora-calc" ] || falla "falta bin/pelmora-calc"
referencias=("$r/share/pelmora/Vededizaviro/"*.obs)
[ ${#referencias[@]} -eq 4 ] && [ -f "${referencias[0]}" ] \
    || falla "share/pelmora/Vededizaviro debe tener los cuatro archivos de referencia"
# Nothing outside bin and share, no calculations folder in the install, no
# help or data in bin.
fuera=$(cd "$raiz" && find . -mindepth 1 \( -type f -o -type l \) \
        ! -path './usr/bin/*' ! -path './usr/share/*' -print)
[ -z "$fuera" ] || falla "instalado fuera de bin y share: $fuera"
[ -z "$(find "$raiz" -name 'Cálculos')" ] || falla "una carpeta Cálculos no debe instalarse"
# Debian's documentation: a machine-readable copyright, a compressed
# changelog whose latest entry is this version, a manual page per program.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$construccion/CMakeCache.txt")
doc="$r/share/doc/pelmora"
head -n1 "$doc/copyright" 2>/dev/null | grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
    || falla "falta share/doc/pelmora/copyright en formato legible por máquina"
primera=$(gzip -dc "$doc/changelog.gz" 2>/dev/null | head -n1)
[ "$primera" = "pelmora ($version) unstable; urgency=medium" ] \
    || falla "la última entrada de changelog.gz no es la versión $version: $primera"
paginas=(pelmora-calc)
[ "$escritorio" = ON ] && paginas+=(pelmora)
for p in "${paginas[@]}"; do
    m="$r/share/man/man1/$p.1.gz"
    gzip -t "$m" 2>/dev/null || { falla "falta la página de manual $p.1.gz"; continue; }
    gzip -dc "$m" | grep -qF ".TH $(tr a-z A-Z <<<"$p" | sed 's/-/\\-/') 1 " || falla "$p.1: sin cabecera .TH"
    gzip -dc "$m" | grep -q "^\.SH NOMBRE" || falla "$p.1: sin sección NOMBRE"
done
for f in "$r/bin/"*; do
    case "$(basename "$f")" in pelmora | pelmora-calc) ;; *) falla "bin/ solo lleva los programas: $f" ;; esac
done

if [ "$escritorio" = ON ]; then
    [ -x "$r/bin/pelmora" ] || falla "falta bin/pelmora"
    for f in share/pelmora/Pelmora.qch share/pelmora/Acuerdos.qch \
             share/applications/es.pelmora.pelmora.desktop \
             share/icons/hicolor/scalable/apps/pelmora.svg \
             share/metainfo/es.pelmora.pelmora.metainfo.xml \
             share/mime/packages/pelmora-calculo.xml; do
        [ -s "$r/$f" ] || falla "falta $f"
    done
    # The program looks for share/pelmora beside its own folder.
    grep -aq '\.\./share/pelmora' "$r/bin/pelmora" || falla "bin/pelmora no conoce la carpeta de datos instalada"
fi

# No run path into the build tree.
if hay readelf; then
    for f in "$r/bin/"*; do
        if readelf -d "$f" 2>/dev/null | grep -E 'RPATH|RUNPATH' | grep -qF "$construccion"; then
            falla "$(basename "$f") busca bibliotecas en la carpeta de compilación"
        fi
    done
fi

# ---- The installed pelmora-calc on the installed reference data -------------------
for ref in "${referencias[@]}"; do
    [ -f "$ref" ] || continue
    if ! salida=$("$r/bin/pelmora-calc" "$ref" 2>"$tmp/calc.err"); then
        falla "pelmora-calc $(basename "$ref"): $(cat "$tmp/calc.err")"
        continue
    fi
    # The total cost line carries a figure in both columns.
    grep -Eq '^Costes Totales .*[1-9][0-9.,]*[0-9] .*[1-9][0-9.,]*[0-9]' <<<"$salida" \
        || falla "pelmora-calc $(basename "$ref") no da los costes totales"
    "$r/bin/pelmora-calc" --json "$ref" | grep -q '"Vededizaviro de Costes"\|Resultados' \
        || falla "pelmora-calc --json $(basename "$ref")"
done
"$r/bin/pelmora-calc" "$tmp/no_existe.clc" >/dev/null 2>&1 && falla "pelmora-calc con un archivo que no existe debe fallar"

# ---- Desktop entry, icon, metainfo and MIME type agree -----------------------------
if [ "$escritorio" = ON ]; then
    # The AppStream id, in lower case, names the desktop entry and the metainfo.
    id=es.pelmora.pelmora
    d="$r/share/applications/$id.desktop"
    m="$r/share/metainfo/$id.metainfo.xml"
    x="$r/share/mime/packages/pelmora-calculo.xml"
    clave() { sed -n "s/^$1=//p" "$d" | head -n1; }
    [ -x "$r/bin/$(clave Exec | cut -d' ' -f1)" ] || falla "Exec= no es un programa instalado"
    clave Exec | grep -q '%[fFuU]' || falla "Exec= no recibe el archivo"
    [ -f "$r/share/icons/hicolor/scalable/apps/$(clave Icon).svg" ] || falla "Icon= no es el icono instalado"
    for c in Office Finance; do
        clave Categories | tr ';' '\n' | grep -qx "$c" || falla "Categories= sin $c"
    done
    tipo=$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$x" | head -n1)
    [ -n "$tipo" ] || falla "el tipo MIME no tiene nombre"
    clave MimeType | tr ';' '\n' | grep -qxF "$tipo" || falla "MimeType= no declara $tipo"
    grep -q '<glob pattern="\*\.clc"/>' "$x" || falla "el tipo MIME no reconoce *.clc"
    grep -q "<id>$id</id>" "$m" || falla "metainfo: el id no es $id"
    grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$m" || falla "metainfo: launchable"
    grep -q '<url type="homepage">https://' "$m" || falla "metainfo: sin la dirección del proyecto"
    grep -q "<release version=\"$version\"" "$m" || falla "metainfo: sin la versión $version entre las publicadas"
    # The window names its desktop entry (a UTF-16 literal in the program).
    LC_ALL=C grep -aqP "$(sed 's/./&\\x00/g; s/\./\\./g' <<<"$id")" "$r/bin/pelmora" \
        || falla "bin/pelmora no se presenta con el nombre de su entrada de escritorio"
    grep -q "<mediatype>$tipo</mediatype>" "$m" || falla "metainfo: mediatype"
    for b in $(sed -n 's/.*<binary>\([^<]*\)<\/binary>.*/\1/p' "$m"); do
        [ -x "$r/bin/$b" ] || falla "metainfo: $b no está instalado"
    done

    if hay desktop-file-validate; then
        desktop-file-validate "$d" || falla "desktop-file-validate"
    else
        echo "(sin desktop-file-validate: no se valida la entrada de escritorio)"
    fi
    if hay appstreamcli; then
        appstreamcli validate-tree --no-net "$raiz" >"$tmp/as.log" 2>&1 || { cat "$tmp/as.log" >&2; falla "appstreamcli validate-tree"; }
    else
        echo "(sin appstreamcli: no se valida el metainfo)"
    fi
    if hay update-mime-database; then
        # Build the MIME cache of the staged tree and look the glob up in it.
        if update-mime-database "$r/share/mime" >"$tmp/mime.log" 2>&1; then
            grep -q ":$tipo:\*\.clc" "$r/share/mime/globs2" || falla "la base MIME no asocia *.clc a $tipo"
        else
            cat "$tmp/mime.log" >&2
            falla "update-mime-database"
        fi
    else
        echo "(sin update-mime-database: no se comprueba el tipo MIME)"
    fi
fi

# ---- The Debian package, judged by lintian -----------------------------------------
if hay cpack && hay dpkg-deb && hay lintian; then
    if cpack --config "$construccion/CPackConfig.cmake" -G DEB -B "$tmp/paquete" >"$tmp/cpack.log" 2>&1; then
        deb=("$tmp/paquete/"*.deb)
        if ! lintian --fail-on error,warning "${deb[0]}" >"$tmp/lintian.log" 2>&1; then
            cat "$tmp/lintian.log" >&2
            falla "lintian encuentra errores o avisos en el paquete"
        fi
    else
        cat "$tmp/cpack.log" >&2
        falla "cpack -G DEB"
    fi
else
    echo "(sin cpack, dpkg-deb o lintian: no se construye ni se revisa el paquete Debian)"
fi

if [ $fallos -ne 0 ]; then
    echo "$fallos comprobaciones fallidas" >&2
    exit 1
fi
echo "Instalación correcta: $(cd "$raiz" && find . -type f | wc -l) archivos"
