#pragma once
// File systems that refuse writes, for tests of what the program does when it cannot write:
// the test process leaves the shared mount namespace for a private one (each test case runs in
// a process of its own, so nothing else sees these mounts) and mounts over one of its own
// temporary folders. Every function returns false where the process may not do that (no
// CAP_SYS_ADMIN, no mount namespaces); the test should then skip.
#include <QByteArray>
#include <QFile>
#include <QString>

#include <sched.h>
#include <sys/mount.h>

namespace PrivateMounts
{
inline bool enter()
{
    static bool entered = unshare(CLONE_NEWNS) == 0 &&
                          mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    return entered;
}

// `dir` (an existing folder) becomes a read-only view of itself.
inline bool bindReadOnly(const QString &dir)
{
    const QByteArray path = QFile::encodeName(dir);
    return enter() && mount(path.constData(), path.constData(), nullptr, MS_BIND, nullptr) == 0 &&
           mount(nullptr, path.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) ==
               0;
}

// An empty tmpfs of `kib` KiB over `dir` (an existing folder).
inline bool mountTmpfs(const QString &dir, int kib)
{
    const QByteArray path = QFile::encodeName(dir);
    const QByteArray options = "size=" + QByteArray::number(kib) + "k";
    return enter() && mount("tmpfs", path.constData(), "tmpfs", 0, options.constData()) == 0;
}
} // namespace PrivateMounts
