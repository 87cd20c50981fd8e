#include "cli/NameCommand.h"

#include "cli/ExitStatus.h"
#include "fontlist/InOrderParallel.h"
#include "runtime/FontFileType.h"
#include "truetype/NameTableReader.h"
#include "type1/HeaderWindow.h"

#include <cstddef>
#include <ostream>

namespace cli {

std::string fullNameOf(const std::string& path) {
    switch (runtime::fontFileTypeOf(path)) {
    case runtime::FontFileType::TrueType: return truetype::TTEnglishName(path);
    case runtime::FontFileType::Type1: return type1::T1Name(path);
    case runtime::FontFileType::Other: break;
    }
    return "error: not a .ttf or .pfb file";
}

int runNameCommand(const std::vector<std::string>& files, Console& console) {
    bool allRead = true;
    // The files are read side by side, many at once where they must come from the disk; the
    // lines come out in the order of the files.
    fontlist::inOrderParallel<std::string>(
        files.size(), [&](std::size_t i) { return fullNameOf(files[i]); },
        [&](std::size_t i, std::string&& name) {
            allRead = allRead && name.rfind("error: ", 0) != 0;
            console.out << name << '\t' << files[i] << '\n';
        });
    return allRead ? kSuccess : kNotFinished;
}

} // namespace cli
