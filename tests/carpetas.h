// Folders the tests make refuse new files, or fill.
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
#include <sys/mount.h>
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

// A small file system of its own (64 KiB unless told), mounted over a folder for one test.
struct Tmpfs {
    explicit Tmpfs(const QString &carpeta, const char *tamano = "size=64k") : ruta(QFile::encodeName(carpeta))
    {
        if (::geteuid() != 0)
            motivo = "hace falta ser root para montar un tmpfs";
        else if (::mount("tmpfs", ruta.constData(), "tmpfs", 0, tamano) != 0)
            motivo = std::string("no se puede montar un tmpfs: ") + std::strerror(errno);
    }
    ~Tmpfs()
    {
        if (motivo.empty())
            ::umount2(ruta.constData(), MNT_DETACH);
    }
    QByteArray ruta;
    std::string motivo; // empty when mounted
};

// Fills the file system of a folder to the last byte.
inline bool llenar(const QString &carpeta)
{
    const int fd = ::open(QFile::encodeName(carpeta + "/relleno").constData(), O_WRONLY | O_CREAT, 0644);
    if (fd < 0)
        return false;
    const QByteArray trozo(512, 'x');
    while (::write(fd, trozo.constData(), trozo.size()) > 0) {
    }
    const bool lleno = errno == ENOSPC;
    ::close(fd);
    return lleno;
}

} // namespace pelmora::prueba

#endif
