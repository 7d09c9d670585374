#pragma once

#include "store/core/presence.h"

#include <QString>
#include <vector>

namespace store {

// Whether the locks of the folder that holds db.mdb reach across the
// workstations. Each running station holds a shared lock on a byte of its
// own in a small file beside db.mdb and says which in its presence row. A
// starting station that can take an exclusive lock on a byte another
// machine's fresh row says is held knows that the other machine's lock does
// not reach it: then the file's own write locks do not either, and two
// stations could write over each other.
class ShareLock {
public:
    static constexpr int Bytes = 4096;
    static inline const QString FileName = QStringLiteral("db.stations.lock");

    ShareLock() = default;
    ~ShareLock();
    ShareLock(const ShareLock &) = delete;
    ShareLock &operator=(const ShareLock &) = delete;

    // The lock file beside a db.mdb.
    static QString pathBeside(const QString &dbPath);

    // Takes a shared lock on the first byte nobody holds; false when the
    // file cannot be made or locked (the station then runs without one).
    bool take(const QString &dbPath);
    void release();
    int byte() const { return m_byte; }
    bool held() const { return m_fd >= 0 && m_byte >= 0; }

    // The stations of other hosts whose byte this station could lock
    // exclusively although their fresh rows say they hold it: empty when
    // the share's locks work (or nobody else runs).
    static std::vector<StationSeen> unreachedLocks(const QString &dbPath, const std::vector<StationSeen> &others,
                                                   const QString &thisHost);

    // What kind of file system holds a folder, when it is one whose locks
    // may not reach across workstations: "a network folder (NFS)", "a FUSE
    // folder"...; empty for a local disk.
    static QString remoteKind(const QString &folder);

private:
    int m_fd = -1;
    int m_byte = -1;
};

} // namespace store
