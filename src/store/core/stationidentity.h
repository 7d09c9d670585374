#pragma once

#include <QString>

namespace store {

// Who is at the keyboard of this station: the station's name (chosen in its
// own setup; the host name until then), the machine and the operating-system
// user. What a station records of itself, and what it stamps on its changes.
struct StationIdentity {
    QString name;
    QString host;
    QString user;

    // This machine and its logged-in user, named after the host.
    static StationIdentity ofThisMachine();
    bool operator==(const StationIdentity &) const = default;
};

} // namespace store
