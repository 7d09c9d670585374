#include "store/core/sharelock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/statfs.h>
#include <unistd.h>

namespace store {

namespace {

// Locks of an open file description (not of the process), so that two
// connections of one program hold apart as two programs do.
bool lockByte(int fd, short type, int byte)
{
    struct flock l{};
    l.l_type = type;
    l.l_whence = SEEK_SET;
    l.l_start = byte;
    l.l_len = 1;
    return fcntl(fd, F_OFD_SETLK, &l) == 0;
}

} // namespace

ShareLock::~ShareLock()
{
    release();
}

QString ShareLock::pathBeside(const QString &dbPath)
{
    return QFileInfo(dbPath).dir().filePath(FileName);
}

bool ShareLock::take(const QString &dbPath)
{
    release();
    m_fd = ::open(QFile::encodeName(pathBeside(dbPath)).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (m_fd < 0)
        return false;
    for (int b = 0; b < Bytes; ++b) {
        // A byte nobody holds can be locked exclusively; held shared, it
        // then stays this station's while it runs.
        if (lockByte(m_fd, F_WRLCK, b) && lockByte(m_fd, F_RDLCK, b)) {
            m_byte = b;
            return true;
        }
    }
    release();
    return false;
}

void ShareLock::release()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_byte = -1;
}

std::vector<StationSeen> ShareLock::unreachedLocks(const QString &dbPath, const std::vector<StationSeen> &others,
                                                   const QString &thisHost)
{
    std::vector<StationSeen> out;
    int fd = -1;
    for (const StationSeen &s : others) {
        if (!s.lockHeld || s.lockByte < 0 || s.lockByte >= Bytes ||
            s.who.host.compare(thisHost, Qt::CaseInsensitive) == 0)
            continue;
        if (fd < 0)
            fd = ::open(QFile::encodeName(pathBeside(dbPath)).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0)
            break;
        if (lockByte(fd, F_WRLCK, s.lockByte)) {
            lockByte(fd, F_UNLCK, s.lockByte);
            out.push_back(s);
        }
    }
    if (fd >= 0)
        ::close(fd);
    return out;
}

QString ShareLock::remoteKind(const QString &folder)
{
    struct statfs fs{};
    if (statfs(QFile::encodeName(folder).constData(), &fs) != 0)
        return {};
    switch (static_cast<unsigned long>(fs.f_type)) {
    case 0x6969UL: return QStringLiteral("a network folder (NFS)");
    case 0x517BUL: return QStringLiteral("a network folder (SMB)");
    case 0xFF534D42UL: return QStringLiteral("a network folder (CIFS)");
    case 0xFE534D42UL: return QStringLiteral("a network folder (SMB2)");
    case 0x5346414FUL: return QStringLiteral("a network folder (AFS)");
    case 0x73757245UL: return QStringLiteral("a network folder (Coda)");
    case 0x01021997UL: return QStringLiteral("a network folder (9P)");
    case 0x00C36400UL: return QStringLiteral("a network folder (Ceph)");
    case 0x65735546UL: return QStringLiteral("a FUSE folder");
    default: return {};
    }
}

} // namespace store
