#pragma once

#include "support/TempDir.h"

#include <filesystem>
#include <map>
#include <string>

namespace clitest {

// Everything under a directory: each path relative to it, with the file's bytes and
// permission bits ("<dir>" for a directory), so two runs' results compare in one expression.
inline std::map<std::string, std::string> treeSnapshot(const std::filesystem::path& root) {
    std::map<std::string, std::string> tree;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        const std::string relative = entry.path().lexically_relative(root).string();
        if (entry.is_directory()) {
            tree[relative] = "<dir>";
        } else {
            const auto mode = static_cast<unsigned>(entry.status().permissions());
            tree[relative] = std::to_string(mode) + ":" + testsupport::readFile(entry.path());
        }
    }
    return tree;
}

} // namespace clitest
