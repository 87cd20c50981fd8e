#include "fontlist/DuplicatesOutput.h"

#include "fontlist/DuplicateFields.h"
#include "fontlist/DuplicatesJson.h"
#include "fontlist/FactsRow.h"
#include "fontlist/RecordFields.h"

#include <optional>

namespace fontlist {

namespace {

namespace fields = duplicate_fields;

// The columns of the TSV form; the last is repeated, one field per further name of the file.
constexpr std::string_view kTsvHeader =
    "group\ttier\tkeep\tpath\tsize\tversion\tfont_revision\tmodified\tnewest\tcompanions\t"
    "missing_companions\twhy\tother_names\n";

void appendTsvText(std::string& out, const DuplicatesOptions& options, std::string_view text) {
    out += '\t';
    appendTsvField(out, duplicate_fields::shown(options, text));
}

// group, tier, keep, path, size, version, font_revision, modified, newest, companions,
// missing_companions, why, then each further name.
void appendTsvFile(std::string& out, const DuplicatesOptions& options, std::size_t number,
                   const DuplicateGroup& group, std::size_t place, const ScannedFile& file) {
    appendNumber(out, number);
    out += '\t';
    appendNumber(out, static_cast<std::uint64_t>(group.tier));
    out += place == group.keep ? "\tyes" : "\tno";
    appendTsvText(out, options, file.paths.front());
    out += '\t';
    appendNumber(out, file.opened ? std::optional<std::uint64_t>(file.stamp.size) : std::nullopt);
    appendTsvText(out, options, file.version);
    out += '\t';
    if (file.fontRevision) {
        fields::appendRevision(out, *file.fontRevision);
    }
    out += '\t';
    if (file.opened) {
        fields::appendUtcTime(out, file.stamp.modifiedNs);
    }
    out += '\t';
    if (group.newest) {
        out += place == *group.newest ? "yes" : "no";
    }
    appendTsvText(out, options, fields::joined(file.companions));
    appendTsvText(out, options, fields::joined(file.missingCompanions));
    appendTsvText(out, options, keepReasonText(group.why));
    if (file.paths.size() == 1) {
        out += '\t'; // no further name: the column is there, empty
    }
    for (std::size_t i = 1; i < file.paths.size(); ++i) {
        appendTsvText(out, options, file.paths[i]);
    }
    out += '\n';
}

// A text of the text form: shown, then escaped so that the record stays one line.
void appendPlain(std::string& out, const DuplicatesOptions& options, std::string_view text) {
    appendTsvField(out, fields::shown(options, text));
}

// "  keep  a/Foo.ttf, also a/Foo-2.ttf: 48212 bytes, version 1.000, modified ..., newest,
// with .pfm, without .afm"
void appendTextFile(std::string& out, const DuplicatesOptions& options, const DuplicateGroup& group,
                    std::size_t place, const ScannedFile& file) {
    out += place == group.keep ? "  keep  " : "        ";
    appendPlain(out, options, file.paths.front());
    for (std::size_t i = 1; i < file.paths.size(); ++i) {
        out += i == 1 ? ", also " : ", ";
        appendPlain(out, options, file.paths[i]);
    }
    out += ':';
    if (file.opened) {
        out += ' ';
        appendNumber(out, file.stamp.size);
        out += " bytes,";
    }
    if (file.version.empty()) {
        out += " no version";
    } else {
        out += " version ";
        appendPlain(out, options, file.version);
    }
    if (group.tier == DuplicateTier::OtherVersions && file.fontRevision) {
        out += " (revision ";
        fields::appendRevision(out, *file.fontRevision);
        out += ')';
    }
    if (file.opened) {
        out += ", modified ";
        fields::appendUtcTime(out, file.stamp.modifiedNs);
    }
    if (group.newest && place == *group.newest) {
        out += ", newest";
    }
    if (!file.companions.empty()) {
        out += ", with " + fields::joined(file.companions);
    }
    if (!file.missingCompanions.empty()) {
        out += ", without " + fields::joined(file.missingCompanions);
    }
    out += '\n';
}

// "Group 3, other versions: keep a/Foo-2.ttf (newest version)", a line per file, an empty line.
void appendTextGroup(std::string& out, const DuplicatesOptions& options, std::size_t number,
                     const DuplicateGroup& group, std::span<const ScannedFile> files) {
    out += "Group ";
    appendNumber(out, number);
    out += ", ";
    out += fields::tierName(group.tier);
    out += ": keep ";
    appendPlain(out, options, files[group.keep].paths.front());
    out += " (";
    out += keepReasonText(group.why);
    out += ")\n";
    for (const std::size_t place : group.files) {
        appendTextFile(out, options, group, place, files[place]);
    }
    out += '\n';
}

} // namespace

void appendDuplicatesHeader(std::string& out, const DuplicatesOptions& options) {
    if (options.format == DuplicatesFormat::Tsv) {
        out += kTsvHeader;
    }
}

void appendDuplicateGroup(std::string& out, const DuplicatesOptions& options, std::size_t number,
                          const DuplicateGroup& group, std::span<const ScannedFile> files) {
    switch (options.format) {
    case DuplicatesFormat::Text: appendTextGroup(out, options, number, group, files); return;
    case DuplicatesFormat::Tsv:
        for (const std::size_t place : group.files) {
            appendTsvFile(out, options, number, group, place, files[place]);
        }
        return;
    case DuplicatesFormat::Json:
        appendDuplicateGroupJson(out, options, number, group, files);
        return;
    }
}

} // namespace fontlist
