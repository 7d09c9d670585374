#include "store/core/stationidentity.h"

#include <QProcessEnvironment>
#include <QSysInfo>

namespace store {

StationIdentity StationIdentity::ofThisMachine()
{
    StationIdentity s;
    s.host = QSysInfo::machineHostName();
    const auto env = QProcessEnvironment::systemEnvironment();
    s.user = env.value(QStringLiteral("USER"), env.value(QStringLiteral("USERNAME")));
    s.name = s.host;
    return s;
}

} // namespace store
