#pragma once

#include <QString>

#include <string>
#include <vector>

// Directory paths as the window keeps them: the system's own bytes (UTF-8 on Windows, where
// platform::path::native turns them into wide paths), from the listing to every use. Only what
// a person reads is decoded, and that lossily (forDisplay).
namespace app::paths {

// A directory as an absolute path without "." and ".." parts, in the system's separators, and
// without a trailing separator unless it is a root. Empty for an empty path.
std::string normalisedDirectory(const std::string& directory);

// The normalised directory and its ancestors, from the root down.
std::vector<std::string> chainOf(const std::string& directory);

// True for a root directory ("/", "C:\").
bool isRoot(const std::string& directory);

// The last part of a directory's path; a root is its own name.
std::string lastPart(const std::string& directory);

// A path or name for a person to read: a byte that is not part of valid UTF-8 shows as U+FFFD.
QString forDisplay(const std::string& bytes);

// A path that Qt gives (a volume's root, the home directory) in the system's separators.
std::string fromQt(const QString& path);

// The root of the volume that holds a directory, as QStorageInfo names it.
QString volumeRootOf(const std::string& directory);

// The process's current directory; empty when it cannot be read (it has been removed, say).
std::string currentDirectory();

// The user's home directory, and the root of the file system: the places to fall back on when
// the start-up directory cannot be listed.
std::string homeDirectory();
std::string rootDirectory();

} // namespace app::paths
