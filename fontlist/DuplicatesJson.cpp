#include "fontlist/DuplicatesJson.h"

#include "fontlist/DuplicateFields.h"
#include "fontlist/PageText.h"
#include "fontlist/RecordFields.h"
#include "text/Utf8.h"

#include <nlohmann/json.hpp>

#include <string_view>
#include <vector>

namespace fontlist {

namespace {

using Json = nlohmann::ordered_json;
namespace fields = duplicate_fields;

std::string readable(std::string_view text) {
    std::string out;
    assignReadable(out, text);
    return out;
}

std::string base64(std::string_view bytes) {
    std::string out;
    page_text::appendBase64(out, bytes);
    return out;
}

// Puts the path under key as people read it, and its exact bytes under key_bytes where it is
// not UTF-8.
void putPath(Json& object, const std::string& key, const std::string& path) {
    object[key] = readable(path);
    if (!text::utf8::isValid(path)) {
        object[key + "_bytes"] = base64(path);
    }
}

// Every name of the file, and all their bytes too where one of them is not UTF-8.
void putNames(Json& object, const std::vector<std::string>& paths) {
    Json names = Json::array();
    Json bytes = Json::array();
    bool exact = true;
    for (const std::string& path : paths) {
        names.push_back(readable(path));
        bytes.push_back(base64(path));
        exact = exact && text::utf8::isValid(path);
    }
    object["names"] = std::move(names);
    if (!exact) {
        object["names_bytes"] = std::move(bytes);
    }
}

Json extensions(const std::vector<std::string_view>& list) {
    Json array = Json::array();
    for (const std::string_view extension : list) {
        array.push_back(extension);
    }
    return array;
}

Json fileObject(const DuplicatesOptions& options, const DuplicateGroup& group, std::size_t place,
                const ScannedFile& file) {
    std::vector<std::string> paths;
    for (const std::string& path : file.paths) {
        paths.push_back(fields::shown(options, path));
    }
    Json object = Json::object();
    putPath(object, "path", paths.front());
    putNames(object, paths);
    object["size"] = file.opened ? Json(file.stamp.size) : Json(nullptr);
    object["version"] = readable(fields::shown(options, file.version));
    std::string modified;
    if (file.opened) {
        fields::appendUtcTime(modified, file.stamp.modifiedNs);
    }
    object["modified"] = file.opened ? Json(modified) : Json(nullptr);
    object["font_revision"] =
        file.fontRevision ? Json(fields::revisionValue(*file.fontRevision)) : Json(nullptr);
    const bool told = fields::hasCompanionKinds(file);
    object["companions"] = told ? extensions(file.companions) : Json(nullptr);
    object["missing_companions"] = told ? extensions(file.missingCompanions) : Json(nullptr);
    object["newest"] = group.newest ? Json(place == *group.newest) : Json(nullptr);
    object["keep"] = place == group.keep;
    return object;
}

} // namespace

void appendDuplicateGroupJson(std::string& out, const DuplicatesOptions& options,
                              std::size_t number, const DuplicateGroup& group,
                              std::span<const ScannedFile> files) {
    Json object = Json::object();
    object["group"] = number;
    object["tier"] = static_cast<int>(group.tier);
    object["tier_name"] = fields::tierName(group.tier);
    putPath(object, "keep", fields::shown(options, files[group.keep].paths.front()));
    object["why"] = keepReasonText(group.why);
    Json list = Json::array();
    for (const std::size_t place : group.files) {
        list.push_back(fileObject(options, group, place, files[place]));
    }
    object["files"] = std::move(list);
    // Every text is valid UTF-8 by now; a slip would show as U+FFFD rather than end the run.
    out += object.dump(-1, ' ', false, Json::error_handler_t::replace);
    out += '\n';
}

} // namespace fontlist
