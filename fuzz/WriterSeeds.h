#pragma once

#include <string>
#include <string_view>
#include <vector>

// Inputs for the fuzz targets made with the project's font writers: the shapes of font the
// readers must handle, well-formed and broken. The seed tool writes them out as the starting
// corpus; the replay test runs them through the targets on every build.
namespace fuzzing {

struct Seed {
    std::string name; // a file name for the corpus
    std::string bytes;
};

// The seeds for the target with this id (see allTargets); none for an unknown id.
std::vector<Seed> writerSeeds(std::string_view targetId);

// The input of the HTML-line target for a name and a path (the name cut to 255 bytes).
std::string htmlLineInput(std::string_view name, std::string_view path);

} // namespace fuzzing
