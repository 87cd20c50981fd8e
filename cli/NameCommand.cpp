#include "cli/NameCommand.h"

#include "cli/ExitStatus.h"
#include "runtime/FontFileType.h"
#include "truetype/NameTableReader.h"
#include "type1/HeaderWindow.h"

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
    for (const std::string& path : files) {
        const std::string name = fullNameOf(path);
        allRead = allRead && name.rfind("error: ", 0) != 0;
        console.out << name << '\t' << path << '\n';
    }
    return allRead ? kSuccess : kNotFinished;
}

} // namespace cli
