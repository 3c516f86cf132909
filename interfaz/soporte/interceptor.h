// Hooks for tests and scripted use. Where the program would wait for a
// person (a message, the save question, a file dialog, the printer, the
// print preview) or make a sound, it asks its hook first: while a function
// is set there, that function answers instead.
//
// Each hook is declared at the end of the header of what it stands in for:
//   interceptorMensajes (dialogos/mensaje.h), interceptorPregunta
//   (dialogos/preguntagrabar.h), interceptorPreguntas (dialogos/comunes.h),
//   interceptorDialogoArchivo (dialogos/dialogoarchivo.h),
//   interceptorArchivoReferencia and interceptorDialogoReferencia
//   (dialogos/cifrasreferencia.h), interceptorArchivoCsv
//   (impresion/exportacion.h), interceptorArchivoPdf, interceptorImpresion
//   and interceptorVistaPreliminar (impresion/impresion.h),
//   interceptorArchivosComparar (analisis/ventanacomparar.h) and
//   interceptorPitidos (formularios/campo.h).
// The other test hooks stand beside what they reach into: Calculo::hoy,
// columnaParaPruebas and grabadaParaPruebas (calculo/calculo.h),
// limitarEscrituraParaPruebas (archivos/archivo.h) and
// VentanaSensibilidad::veces (analisis/ventanasensibilidad.h).
#pragma once

#include <functional>
#include <utility>

namespace pelmora {

template <class Firma> class Interceptor;

template <class R, class... A> class Interceptor<R(A...)> {
public:
    using Funcion = std::function<R(A...)>;

    // A function is set: the program calls it instead of doing the real thing.
    explicit operator bool() const { return static_cast<bool>(f_); }
    // Calls a copy, so that the function may set another one while it runs.
    R operator()(A... a) const
    {
        const Funcion f = f_;
        return f(std::forward<A>(a)...);
    }

    // Sets a function for as long as it lives; the one set before comes
    // back at its end. An empty function lets the real thing run meanwhile.
    class Ambito {
    public:
        Ambito(Interceptor &i, Funcion f) : i_(i), antes_(std::exchange(i.f_, std::move(f))) {}
        ~Ambito() { i_.f_ = std::move(antes_); }
        Ambito(const Ambito &) = delete;
        Ambito &operator=(const Ambito &) = delete;

        // Another function for the rest of the scope.
        void cambiar(Funcion f) { i_.f_ = std::move(f); }

    private:
        Interceptor &i_;
        Funcion antes_;
    };

    [[nodiscard]] Ambito interceptar(Funcion f) { return Ambito(*this, std::move(f)); }

private:
    Funcion f_;
};

} // namespace pelmora
