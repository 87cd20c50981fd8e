#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Failure.h"

namespace fontlist {

// The fonts a copy run left incomplete for reasons that are gathered rather than told one
// message at a time: a font copied without a companion it needs (a .pfb without its .pfm, as
// Debian installs Type 1 fonts), and a font with a file that could not be read. A folder of
// 200,000 such fonts gives one closing message, which names the first few.
class CopyShortfalls {
public:
    // How many of each list the closing message names before "and N more".
    static constexpr std::size_t kNamed = 5;

    // A font (its file name) that was copied without the companion of that extension.
    void withoutCompanion(std::string_view extension, std::string_view fileName);
    // A file of a font (its file name) that could not be read, and why.
    void unreadable(std::string_view fileName, const platform::Failure& failure);

    // How many fonts the lists hold.
    std::size_t count() const noexcept { return count_; }

    // The closing message's paragraphs about them, each after an empty line; nothing when
    // there are none.
    std::string text() const;

private:
    struct List {
        std::string key; // the companion's extension; empty for the files that were unreadable
        std::size_t count = 0;
        std::vector<std::string> named;
    };
    List& listFor(std::string_view key);

    std::vector<List> lists_;
    std::size_t count_ = 0;
};

} // namespace fontlist
