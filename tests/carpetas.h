// Folders the tests make refuse new files.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <cerrno>
#include <cstring>
#include <string>

#ifdef __linux__
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pelmora::prueba {

// Makes a folder refuse new entries while it lives (its files stay
// writable): without write permission, or locked where permissions do not
// hold (root).
struct CarpetaCerrada {
    explicit CarpetaCerrada(const QString &carpeta) : ruta(QFile::encodeName(carpeta))
    {
        if (::geteuid() != 0) {
            if (::chmod(ruta.constData(), 0555) != 0)
                motivo = std::strerror(errno);
            return;
        }
        fd = ::open(ruta.constData(), O_RDONLY | O_DIRECTORY);
        int banderas = 0;
        if (fd < 0 || ::ioctl(fd, FS_IOC_GETFLAGS, &banderas) != 0)
            motivo = std::string("no se leen los atributos de la carpeta: ") + std::strerror(errno);
        else if (banderas |= FS_IMMUTABLE_FL; ::ioctl(fd, FS_IOC_SETFLAGS, &banderas) != 0)
            motivo = std::string("no se puede bloquear la carpeta: ") + std::strerror(errno);
    }
    ~CarpetaCerrada()
    {
        if (fd >= 0) {
            int banderas = 0;
            if (::ioctl(fd, FS_IOC_GETFLAGS, &banderas) == 0) {
                banderas &= ~FS_IMMUTABLE_FL;
                ::ioctl(fd, FS_IOC_SETFLAGS, &banderas);
            }
            ::close(fd);
        } else {
            ::chmod(ruta.constData(), 0755);
        }
    }
    QByteArray ruta;
    int fd = -1;
    std::string motivo; // empty when the folder is closed
};

} // namespace pelmora::prueba

#endif
