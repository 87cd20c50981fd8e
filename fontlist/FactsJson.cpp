#include "fontlist/FactsRow.h"
#include "fontlist/PageText.h"
#include "fontlist/RecordFields.h"
#include "text/Utf8.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <iterator>

namespace fontlist {

namespace {

using Json = nlohmann::ordered_json;

constexpr std::string_view kPathBytesKey = "path_bytes";

// One object per thread, its keys made once in the columns' order: a row only puts its values
// into the strings these keys already hold.
Json& rowObject() {
    thread_local Json object = [] {
        Json made = Json::object();
        for (const std::string_view column : kFactsColumns) {
            made[std::string(column)] = "";
        }
        return made;
    }();
    return object;
}

} // namespace

void appendJsonRow(std::string& out, const FactsRow& row) {
    Json& object = rowObject();
    Json::object_t& fields = object.get_ref<Json::object_t&>();
    for (std::size_t i = 0; i < kFactsColumns.size(); ++i) {
        Json& value = std::next(fields.begin(), static_cast<std::ptrdiff_t>(i))->second;
        if (i == kIndexColumn || i == kSizeColumn) {
            const std::optional<std::uint64_t>& number = i == kIndexColumn ? row.index : row.size;
            value = number ? Json(*number) : Json(nullptr);
        } else {
            value.get_ref<std::string&>().assign(row.texts[i]);
        }
    }
    const std::string_view path = row.texts[kPathColumn];
    const bool pathIsUtf8 = text::utf8::isValid(path);
    if (!pathIsUtf8) {
        assignReadable(fields.begin()->second.get_ref<std::string&>(), path);
        std::string bytes;
        page_text::appendBase64(bytes, path);
        fields.emplace(std::string(kPathBytesKey), std::move(bytes));
    }
    // Every text is valid UTF-8 by now; a slip would show as U+FFFD rather than end the run.
    out += object.dump(-1, ' ', false, Json::error_handler_t::replace);
    out += '\n';
    if (!pathIsUtf8) {
        fields.erase(std::string(kPathBytesKey));
    }
}

} // namespace fontlist
