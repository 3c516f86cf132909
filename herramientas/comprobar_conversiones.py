#!/usr/bin/env python3
"""Finds conversions between numbers and text that follow the C library's
locale in the program's sources.

On Unix the program's QCoreApplication sets the C library's locale from the
environment, so printf's %f, strtod and friends write and expect a comma
under Spanish, German or French settings. Every figure must go through
std::to_chars / std::from_chars or Qt's C-locale conversions instead.

Usage: comprobar_conversiones.py [--autoprueba] [RAIZ]
Exit status 1 and one line per finding when something is found.
"""
import pathlib
import re
import sys

CARPETAS = ["entrada", "calculo", "archivos", "analisis", "interfaz", "herramientas/pelmora-calc"]

FORMATO_REAL = r'%[-+ #0\']*(?:\d+|\*)?(?:\.(?:\d+|\*))?[hlLqjzt]*[aAeEfFgG]'
REGLAS = [
    ("formato de coma flotante de la familia printf",
     re.compile(r'\b(?:std::)?v?(?:s|sn|f|d|as)?w?printf\s*\(("(?:[^"\\]|\\.)*"|[^;])*?' + FORMATO_REAL)),
    ("lectura de la familia scanf", re.compile(r'\b(?:std::)?v?(?:s|f)?w?scanf\s*\(')),
    ("conversión que sigue el locale de C",
     re.compile(r'\b(?:std::)?(?:strto(?:d|f|ld)|wcsto(?:d|f|ld)|atof|stod|stof|stold|to_string|to_wstring)\s*\(')),
    ("flujo de números con formato", re.compile(r'#\s*include\s*<(?:sstream|iomanip|strstream)>'
                                               r'|\bstd::(?:setprecision|fixed|scientific|defaultfloat)\b')),
]


def sin_comentarios(texto, vaciar_cadenas=False):
    """The text with comments blanked (and the strings' contents too when
    asked), line numbers kept."""
    salida, i, n = [], 0, len(texto)
    while i < n:
        c = texto[i]
        if texto.startswith("//", i):
            fin = texto.find("\n", i)
            i = n if fin < 0 else fin
        elif texto.startswith("/*", i):
            fin = texto.find("*/", i + 2)
            fin = n if fin < 0 else fin + 2
            salida.append("\n" * texto.count("\n", i, fin))
            i = fin
        elif c in "\"'":
            j = i + 1
            while j < n and texto[j] != c and texto[j] != "\n":
                j += 2 if texto[j] == "\\" else 1
            salida.append(c + c if vaciar_cadenas else texto[i:j + 1])
            i = j + 1
        else:
            salida.append(c)
            i += 1
    return "".join(salida)


def hallazgos(texto):
    # Only printf's rule reads inside strings (its format).
    con_cadenas, sin_cadenas = sin_comentarios(texto), sin_comentarios(texto, True)
    for k, (motivo, regla) in enumerate(REGLAS):
        limpio = con_cadenas if k == 0 else sin_cadenas
        for m in regla.finditer(limpio):
            yield limpio.count("\n", 0, m.start()) + 1, motivo


# Each line must be found (True) or pass (False): proves the check can fail.
AUTOPRUEBA = [
    ('std::snprintf(buf, sizeof buf, "%.*f", d, x);', True),
    ('snprintf(buf, 64,\n "%s: %8.2lf", a, x);', True),
    ('std::printf("%g\\n", x);', True),
    ('fprintf(stderr, "%s\\n", texto);', False),
    ('QString::asprintf("%04d-%02d", a, m);', False),
    ('sscanf(s, "%d", &n);', True),
    ('double x = std::strtod(s, nullptr);', True),
    ('double x = atof(s);', True),
    ('auto s = std::to_string(x);', True),
    ('#include <sstream>', True),
    ('out << std::setprecision(3) << x;', True),
    ('// strtod would follow the locale here', False),
    ('/* printf("%f") */ int a = 0;', False),
    ('const char *t = "strtod(";', False),
    ('std::to_chars(b, e, x, std::chars_format::fixed, 2);', False),
]


def autoprueba():
    fallos = [(linea, esperado) for linea, esperado in AUTOPRUEBA if any(hallazgos(linea)) != esperado]
    for linea, esperado in fallos:
        print(f"autoprueba: {'no encontrado' if esperado else 'encontrado sin motivo'}: {linea}")
    return not fallos


def main(argv):
    args = [a for a in argv if a != "--autoprueba"]
    if "--autoprueba" in argv and not autoprueba():
        return 1
    raiz = pathlib.Path(args[0] if args else pathlib.Path(__file__).resolve().parent.parent)
    encontrados = 0
    for carpeta in CARPETAS:
        for ruta in sorted((raiz / carpeta).rglob("*")):
            if ruta.suffix not in (".cpp", ".h", ".hpp", ".cc"):
                continue
            for linea, motivo in hallazgos(ruta.read_text(encoding="utf-8", errors="replace")):
                print(f"{ruta.relative_to(raiz)}:{linea}: {motivo}")
                encontrados += 1
    if encontrados:
        print(f"{encontrados} conversiones dependen del locale de C: usar std::to_chars/from_chars o QLocale::c()")
        return 1
    print("Ninguna conversión depende del locale de C.")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
