#include "fontlist/SameBytes.h"

#include "platform/ContentHash.h"
#include "platform/Failure.h"
#include "platform/OrderedWorkPool.h"
#include "platform/StampedFile.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <optional>
#include <utility>

namespace fontlist {

namespace {

using Group = std::vector<std::size_t>;

// How many files of a group are compared with its first at once, each open: enough to read
// the first once for most groups, few enough to leave the process's descriptors to spare with
// every thread of the pool (up to 32) comparing.
constexpr std::size_t kOpenAtOnce = 8;

// What sorting out one group of candidates found.
struct Found {
    std::vector<Group> groups;
    std::vector<FileTrouble> troubles;
};

// What one thread reads into and hashes with, kept from group to group: reading takes no
// memory per file or per piece.
struct ThreadMemory {
    std::vector<std::uint8_t> first;
    std::vector<std::uint8_t> other;
    platform::ContentHasher hasher;
};

ThreadMemory& memoryOfThisThread(std::size_t chunk) {
    thread_local ThreadMemory memory;
    if (memory.first.size() != chunk) {
        memory.first.resize(chunk);
        memory.other.resize(chunk);
    }
    return memory;
}

// The runs of at least two neighbours with equal keys among sorted (key, file) pairs: their
// files, in the pairs' order.
template <typename Key>
std::vector<Group> runsOfTwoOrMore(const std::vector<std::pair<Key, std::size_t>>& sorted) {
    std::vector<Group> runs;
    for (std::size_t begin = 0; begin < sorted.size();) {
        std::size_t end = begin + 1;
        while (end < sorted.size() && sorted[end].first == sorted[begin].first) {
            ++end;
        }
        if (end - begin >= 2) {
            Group& run = runs.emplace_back();
            for (std::size_t at = begin; at < end; ++at) {
                run.push_back(sorted[at].second);
            }
        }
        begin = end;
    }
    return runs;
}

// The files that may hold the same bytes as another: opened, of equal size and first block,
// in runs of at least two, each in walk order. An empty file holds no font, and every empty
// file would be a copy of every other: they are left out.
std::vector<Group> candidateGroups(std::span<const ScannedFile> files) {
    using Key = std::pair<std::uint64_t, platform::ContentHash>;
    std::vector<std::pair<Key, std::size_t>> keyed;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (files[i].opened && files[i].stamp.size > 0) {
            keyed.push_back({{files[i].stamp.size, files[i].firstBlock}, i});
        }
    }
    std::sort(keyed.begin(), keyed.end());
    return runsOfTwoOrMore(keyed);
}

// What people read of a failure: the program's own words for a file that changed; a failure
// the system reported by its description, with the system's words where the description
// alone ("Path/File access error") would not say what happened.
std::string troubleText(const platform::Failure& failure) {
    if (failure.systemError() == 0) {
        return failure.cause();
    }
    std::string text = failure.description();
    if (failure.is(platform::FailureNumber::PathFileAccess)) {
        text += ": ";
        text += failure.cause();
    }
    return text;
}

// A file of the group being compared with the group's first, open.
struct Compared {
    std::size_t file = 0;
    platform::StampedFile reading;
    enum class State { Equal, Differs, Troubled } state = State::Equal;
};

// Sorts one group of candidates out into groups of the same bytes, reading on one thread.
class GroupSorter {
public:
    GroupSorter(std::span<const ScannedFile> files, const SameBytesOptions& options)
        : files_(files), options_(options), memory_(memoryOfThisThread(options.chunk)) {}

    Found sortOut(Group candidates);

private:
    platform::StampedFile open(std::size_t file) const {
        return {files_[file].paths.front(), files_[file].stamp};
    }
    void afterChunk(std::size_t file, std::uint64_t bytesRead) const {
        if (options_.afterChunk) {
            options_.afterChunk(file, bytesRead);
        }
    }
    void troubleInFlight(std::size_t file) {
        found_.troubles.push_back({file, troubleText(platform::currentFailure())});
    }
    bool troubled(std::size_t file) const {
        return std::ranges::any_of(
            found_.troubles, [file](const FileTrouble& trouble) { return trouble.file == file; });
    }

    std::optional<platform::ContentHash> hashOf(std::size_t file);
    std::vector<Group> byHash(const Group& candidates);
    void byBytes(Group candidates);
    bool compareWithFirst(std::size_t first, std::span<const std::size_t> others, Group& same,
                          Group& differing);
    void compareNext(Compared& other, std::size_t length, std::uint64_t bytesRead);
    std::vector<Compared> openAll(std::span<const std::size_t> others);

    std::span<const ScannedFile> files_;
    const SameBytesOptions& options_;
    ThreadMemory& memory_;
    Found found_;
};

Found GroupSorter::sortOut(Group candidates) {
    // A file of one block was hashed whole by the scan. A pair is compared at once: that reads
    // each of the two once instead of twice (to hash, then to confirm), with the same answer.
    if (candidates.size() == 2 || files_[candidates[0]].stamp.size <= platform::kFirstBlockSize) {
        byBytes(std::move(candidates));
    } else {
        for (Group& group : byHash(candidates)) {
            byBytes(std::move(group));
        }
    }
    return std::move(found_);
}

std::optional<platform::ContentHash> GroupSorter::hashOf(std::size_t file) {
    try {
        platform::StampedFile reading = open(file);
        memory_.hasher.start();
        std::uint64_t bytesRead = 0;
        while (const std::size_t got = reading.read(memory_.first)) {
            memory_.hasher.add(std::span(memory_.first).first(got));
            bytesRead += got;
            afterChunk(file, bytesRead);
        }
        reading.finish();
        return memory_.hasher.hash();
    } catch (...) {
        troubleInFlight(file);
        return std::nullopt;
    }
}

std::vector<Group> GroupSorter::byHash(const Group& candidates) {
    std::vector<std::pair<platform::ContentHash, std::size_t>> hashed;
    for (const std::size_t file : candidates) {
        if (const std::optional<platform::ContentHash> hash = hashOf(file)) {
            hashed.emplace_back(*hash, file);
        }
    }
    std::sort(hashed.begin(), hashed.end());
    return runsOfTwoOrMore(hashed);
}

// Sorts candidates out by their bytes: the files equal to the first make a group; those that
// differ from it (after equal hashes, a collision) are sorted out among themselves in turn.
void GroupSorter::byBytes(Group candidates) {
    while (candidates.size() >= 2) {
        const std::size_t first = candidates.front();
        Group same{first};
        Group differing;
        bool firstRead = true;
        for (std::size_t at = 1; at < candidates.size() && firstRead; at += kOpenAtOnce) {
            const std::size_t count = std::min(kOpenAtOnce, candidates.size() - at);
            firstRead =
                compareWithFirst(first, std::span(candidates).subspan(at, count), same, differing);
        }
        if (!firstRead) {
            // Nothing is known of the others: they are sorted out again without the first (and
            // without those that were in trouble of their own meanwhile).
            std::erase_if(candidates,
                          [&](std::size_t file) { return file == first || troubled(file); });
            continue;
        }
        if (same.size() >= 2) {
            found_.groups.push_back(std::move(same));
        }
        candidates = std::move(differing);
    }
}

std::vector<Compared> GroupSorter::openAll(std::span<const std::size_t> others) {
    std::vector<Compared> opened;
    opened.reserve(others.size());
    for (const std::size_t file : others) {
        try {
            opened.push_back({file, open(file)});
        } catch (...) {
            troubleInFlight(file);
        }
    }
    return opened;
}

// Reads the next length bytes of other and compares them with the first's, unless it is
// known to differ already. A file that reads otherwise than the first differs from it unless
// it changed meanwhile.
void GroupSorter::compareNext(Compared& other, std::size_t length, std::uint64_t bytesRead) {
    if (other.state != Compared::State::Equal) {
        return;
    }
    try {
        const std::span<std::uint8_t> piece = std::span(memory_.other).first(length);
        if (other.reading.read(piece) != length ||
            std::memcmp(piece.data(), memory_.first.data(), length) != 0) {
            other.reading.checkUnchanged();
            other.state = Compared::State::Differs;
            return;
        }
        afterChunk(other.file, bytesRead);
    } catch (...) {
        troubleInFlight(other.file);
        other.state = Compared::State::Troubled;
    }
}

// Compares the others with the first, piece by piece, side by side: each goes to same or to
// differing (in their order), or is told as a trouble. False when the first could not be read
// to its end: its trouble is told, and none of the others is placed.
bool GroupSorter::compareWithFirst(std::size_t first, std::span<const std::size_t> others,
                                   Group& same, Group& differing) {
    std::vector<Compared> compared;
    try {
        platform::StampedFile reading = open(first);
        compared = openAll(others);
        std::uint64_t bytesRead = 0;
        while (const std::size_t got = reading.read(memory_.first)) {
            bytesRead += got;
            afterChunk(first, bytesRead);
            for (Compared& other : compared) {
                compareNext(other, got, bytesRead);
            }
        }
        reading.finish();
    } catch (...) {
        troubleInFlight(first);
        return false;
    }
    for (Compared& other : compared) {
        if (other.state == Compared::State::Differs) {
            differing.push_back(other.file);
        } else if (other.state == Compared::State::Equal) {
            try {
                other.reading.finish();
                same.push_back(other.file);
            } catch (...) {
                troubleInFlight(other.file);
            }
        }
    }
    return true;
}

} // namespace

SameBytesResult findSameBytes(std::span<const ScannedFile> files, const SameBytesOptions& options) {
    std::vector<Group> candidates = candidateGroups(files);
    SameBytesResult result;
    platform::inOrderParallel<Found>(
        candidates.size(),
        [&](std::size_t i) {
            return GroupSorter(files, options).sortOut(std::move(candidates[i]));
        },
        [&result](std::size_t, Found found) {
            std::ranges::move(found.groups, std::back_inserter(result.groups));
            std::ranges::move(found.troubles, std::back_inserter(result.troubles));
        });
    std::ranges::sort(result.groups, {}, [](const Group& group) { return group.front(); });
    std::ranges::sort(result.troubles, {}, &FileTrouble::file);
    return result;
}

} // namespace fontlist
