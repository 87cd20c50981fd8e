#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace fontlist {

// The names of the files of one directory that match some wildcard patterns, looked up without
// regard to case, as the file list itself matches names. The directory is read once, at the
// first look-up, so that a run over thousands of files does not read it for each one.
class NamesWithoutCase {
public:
    explicit NamesWithoutCase(std::string patterns) : patterns_(std::move(patterns)) {}

    // The one listed file of the directory whose name equals name without regard to case; none
    // when no file does or when several do (FOO.PFM and Foo.Pfm), since either could be meant.
    std::optional<std::string> find(const std::string& directory, std::string_view name);

private:
    std::string patterns_;
    std::optional<std::string> directory_; // the directory read, once read
    // Folded name -> the file's name; none where several names fold alike.
    std::unordered_map<std::string, std::optional<std::string>> byFoldedName_;
};

} // namespace fontlist
