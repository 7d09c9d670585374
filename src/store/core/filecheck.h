#pragma once

#include <QString>
#include <optional>

namespace store {

// Checks of a data file and its folder that opening the file does not make,
// run before the program writes anything to it.
class FileCheck {
public:
    // What is wrong with the pages of an existing SQLite file, or nothing when
    // they are sound. A file that is not SQLite at all, or that cannot be read,
    // is left for the open to describe.
    static std::optional<QString> damage(const QString &path);

    // Why no file can be made in `folder`, or nothing when one can. The engine
    // makes its journal beside the data file at every save.
    static std::optional<QString> cannotCreateIn(const QString &folder);
};

} // namespace store
