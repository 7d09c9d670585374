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
    // is left for the open to describe. Every page is read (a while for a
    // large file) unless the file is exactly as closedCleanly() left it; its
    // header is always checked against its size.
    static std::optional<QString> damage(const QString &path);

    // The program closed the file after a session without fault: its state
    // now is noted beside it (`<file>.clean`), so that the next start reads
    // every page only if anything wrote to it since. False when not noted
    // (a save left unfinished, or the folder takes no file).
    static bool closedCleanly(const QString &path);

    // Why no file can be made in `folder`, or nothing when one can. The engine
    // makes its journal beside the data file at every save.
    static std::optional<QString> cannotCreateIn(const QString &folder);
};

} // namespace store
