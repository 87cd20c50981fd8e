// "list": the facts of every font of a folder as rows, in each format, read back by Python.
#include "cli/ListCommand.h"
#include "fontlist/ReadableNames.h"
#include "support/CollectionWriter.h"
#include "support/PfbWriter.h"
#include "support/PythonPeer.h"
#include "support/TempDir.h"
#include "support/TrueTypeWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace {

using testsupport::NameRecordLayout;
using testsupport::trueTypeFontNamed;
using testsupport::utf16be;

struct Listed {
    int status = -1;
    std::string out;
    std::string err;
};

Listed listOf(const std::string& directory, cli::ListFormat format = cli::ListFormat::Tsv,
              fontcore::NameDecoding decoding = fontcore::NameDecoding::ByteWise,
              bool recursive = false) {
    cli::Request request;
    request.command = cli::Command::List;
    request.operands = {directory};
    request.pattern = fontlist::typeFilters().back().patterns; // every type
    request.format = format;
    request.decoding = decoding;
    request.recursive = recursive;
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
    cli::Console console{.in = in, .out = out, .err = err};
    const int status = cli::runListCommand(request, console);
    return {status, out.str(), err.str()};
}

// The TSV's lines after the header, each split at its tabs (the fields hold no escapes).
std::vector<std::vector<std::string>> tsvRows(const std::string& out) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(out);
    std::string line;
    std::getline(lines, line); // the header
    while (std::getline(lines, line)) {
        std::vector<std::string> fields(1);
        for (const char c : line) {
            if (c == '\t') {
                fields.emplace_back();
            } else {
                fields.back() += c;
            }
        }
        rows.push_back(fields);
    }
    return rows;
}

NameRecordLayout win(std::uint16_t nameId, std::uint16_t language, std::u16string_view text) {
    return {3, 1, language, nameId, utf16be(text)};
}

TEST(ListCommand, TrueTypeColumnsFollowTheChoiceAndDecodingOfTheFullName) {
    testsupport::NameTableLayout names;
    names.records = {
        win(0, 0x0409, u"© Maker"),      win(1, 0x0409, u"Legacy Family"),
        win(2, 0x0409, u"Regular"),      win(4, 0x0409, u"Łódź Sans"),
        win(4, 0x040C, u"Nom Français"), win(5, 0x0409, u"Version 2.5"),
        win(6, 0x0409, u"Lodz-Sans"),    win(8, 0x0409, u"Ωmega"),
        win(9, 0x0409, u"Des Igner"),    win(11, 0x0409, u"https://vendor.example/"),
        win(13, 0x0409, u"Licence"),     win(14, 0x0409, u"https://licence.example/"),
        win(16, 0x0409, u"Typo Family"),
    };
    const std::string font = testsupport::trueTypeFont(names);
    const testsupport::TempDir dir;
    dir.write("a.ttf", font);
    const std::string size = std::to_string(font.size());
    // Byte-wise: the last Windows record of each ID, each byte one Windows-1252 character (so
    // U+03A9 is the control U+0003 and "©"); the typographic family wins over ID 1, ID 2 stands
    // in for the missing ID 17.
    const Listed byteWise = listOf(dir.str());
    EXPECT_EQ(byteWise.status, 0);
    EXPECT_EQ(byteWise.out.substr(0, byteWise.out.find('\n')),
              "path\ttype\tindex\tfull_name\tfamily\tstyle\tpostscript_name\tversion\t"
              "manufacturer\tdesigner\tvendor_url\tlicence_url\tnotice\tsize\terror");
    const std::vector<std::string> common = {"Typo Family", "Regular", "Lodz-Sans", "Version 2.5"};
    std::vector<std::string> expected = {dir.str() + "/a.ttf", "ttf", "0", "Nom Français"};
    expected.insert(expected.end(), common.begin(), common.end());
    expected.insert(expected.end(), {"\x03©mega", "Des Igner", "https://vendor.example/",
                                     "https://licence.example/", "© Maker", size, ""});
    EXPECT_EQ(tsvRows(byteWise.out), std::vector<std::vector<std::string>>{expected});
    // Readable names: the English full name, every string decoded as UTF-16.
    const Listed readable = listOf(dir.str(), cli::ListFormat::Tsv, fontlist::readableNamesIn("C"));
    expected[3] = "Łódź Sans";
    expected[8] = "Ωmega";
    EXPECT_EQ(tsvRows(readable.out), std::vector<std::vector<std::string>>{expected});
}

TEST(ListCommand, EachFontOfAFileHasItsRowAndAFileThatFailsItsError) {
    const testsupport::TempDir dir;
    const std::string collection = testsupport::fontCollection(
        {.fonts = {trueTypeFontNamed(u"First Of Two"), trueTypeFontNamed(u"Second")}});
    dir.write("b.ttc", collection);
    const std::string type1 = testsupport::pfbFont(
        testsupport::typicalClearText("Gamma\\101", "Gamma", "Bold", "002.000"));
    dir.write("c.pfb", type1);
    const std::string nameless =
        testsupport::pfbFont("%!PS-AdobeFont-1.0: D\r/FamilyName (D) def\r");
    dir.write("d.pfb", nameless);
    dir.write("e.ttf", "not a font");
    const std::string p = dir.str() + "/";
    const std::vector<std::vector<std::string>> expected = {
        {p + "b.ttc", "ttc", "0", "First Of Two", "", "", "", "", "", "", "", "", "",
         std::to_string(collection.size()), ""},
        {p + "b.ttc", "ttc", "1", "Second", "", "", "", "", "", "", "", "", "",
         std::to_string(collection.size()), ""},
        // The full name as the lookup cuts it, its escape as stored (TSV doubles the backslash).
        {p + "c.pfb", "pfb", "0", "Gamma\\\\101", "Gamma", "Bold", "Gamma\\\\101", "002.000", "",
         "", "", "", "A font made for tests", std::to_string(type1.size()), ""},
        {p + "d.pfb", "pfb", "", "", "", "", "", "", "", "", "", "", "",
         std::to_string(nameless.size()), "Invalid procedure call or argument"},
        {p + "e.ttf", "ttf", "", "", "", "", "", "", "", "", "", "", "", "10", "Overflow"},
    };
    const Listed listed = listOf(dir.str());
    EXPECT_EQ(listed.status, 1);
    EXPECT_EQ(tsvRows(listed.out), expected);
}

TEST(ListCommand, ListsTheFolderAloneOrItsTreeInTheWalksOrder) {
    const testsupport::TempDir dir;
    dir.write("b.ttf", trueTypeFontNamed(u"Beta"));
    dir.write("Sub/a.ttf", trueTypeFontNamed(u"Alpha"));
    dir.write("sub2/Deeper/c.ttf", trueTypeFontNamed(u"Gamma"));
    dir.write("sub2/d.ttf", trueTypeFontNamed(u"Delta"));
    dir.write(".hidden/h.ttf", trueTypeFontNamed(u"Hidden"));
    const auto pathsAndNames = [](const Listed& listed) {
        std::vector<std::string> lines;
        for (const std::vector<std::string>& row : tsvRows(listed.out)) {
            lines.push_back(row[0] + " " + row[3]);
        }
        return lines;
    };
    const std::string top = dir.str();
    EXPECT_EQ(pathsAndNames(listOf(top)), std::vector<std::string>{top + "/b.ttf Beta"});
    const Listed tree = listOf(top, cli::ListFormat::Tsv, fontcore::NameDecoding::ByteWise, true);
    EXPECT_EQ(
        pathsAndNames(tree),
        (std::vector<std::string>{top + "/b.ttf Beta", top + "/Sub/a.ttf Alpha",
                                  top + "/sub2/d.ttf Delta", top + "/sub2/Deeper/c.ttf Gamma"}));
    EXPECT_EQ(tree.status, 0);
}

// Reads the list back with Python's own readers and prints, per record and in its order, the
// path's bytes and the full name in hex, the index and the number of fields.
constexpr const char* kReadBack = R"PY(
import sys, csv, json, base64, re
form, name = sys.argv[1], sys.argv[2]
records = []
if form == "tsv":
    lines = open(name, "rb").read().split(b"\n")
    assert lines[-1] == b""
    unescape = {b"t": b"\t", b"n": b"\n", b"r": b"\r", b"\\": b"\\"}
    for line in lines[1:-1]:
        fields = [re.sub(rb"\\(.)", lambda m: unescape[m.group(1)], f) for f in line.split(b"\t")]
        records.append((fields[0], fields[3], fields[2].decode(), len(fields)))
elif form == "csv":
    rows = list(csv.reader(open(name, newline="", encoding="utf-8", errors="surrogateescape")))
    for row in rows[1:]:
        records.append((row[0].encode("utf-8", "surrogateescape"), row[3].encode(), row[2], len(row)))
else:
    for line in open(name, "rb").read().split(b"\n")[:-1]:
        o = json.loads(line)
        path = base64.b64decode(o["path_bytes"]) if "path_bytes" in o else o["path"].encode()
        assert ("path_bytes" in o) == (path != o["path"].encode("utf-8", "surrogateescape"))
        assert path.decode("utf-8", "replace") == o["path"]
        assert isinstance(o["size"], int)
        records.append((path, o["full_name"].encode(), str(o["index"]), len(o) - ("path_bytes" in o)))
for path, full, index, count in records:
    print(path.hex(), full.hex(), index, count)
)PY";

TEST(ListCommand, EveryFormatReadsBackAsOneRecordPerFontWhateverTheNames) {
    if (!testsupport::pythonHas("csv, json")) {
        GTEST_SKIP() << "no /usr/bin/python3";
    }
    const testsupport::TempDir fonts;
    // Sorted as the file list sorts them (without regard to case), each a name and its font's.
    const std::vector<std::pair<std::string, std::u16string>> files = {
        {"a\tb.ttf", u"Tab\tName"},      {"b,c.ttf", u"Comma, \"Quoted\""},
        {"c\"d.ttf", u"Back\\slash"},    {"d\re.ttf", u"CR\rLF\nBoth\r\n"},
        {"e\nf.ttf", u"Plain"},          {"f\\g.ttf", u"\\t not a tab"},
        {"g\xE9h.ttf", u"Latin-1 name"},
    };
    std::string expected;
    for (const auto& [name, fullName] : files) {
        const std::string path = fonts.write(name, trueTypeFontNamed(fullName));
        std::string fullNameText;
        for (const char16_t c : fullName) {
            fullNameText += static_cast<char>(c);
        }
        expected += testsupport::hex(path) + " " + testsupport::hex(fullNameText) + " 0 15\n";
    }
    const testsupport::TempDir out;
    for (const auto& [format, form] :
         {std::pair{cli::ListFormat::Tsv, "tsv"}, std::pair{cli::ListFormat::Csv, "csv"},
          std::pair{cli::ListFormat::Json, "json"}}) {
        const Listed listed = listOf(fonts.str(), format);
        EXPECT_EQ(listed.status, 0) << form;
        const std::string written = out.write(std::string("list.") + form, listed.out);
        EXPECT_EQ(testsupport::pythonOutput(kReadBack, {form, written}).value_or("failed"),
                  expected)
            << form;
    }
}

} // namespace
