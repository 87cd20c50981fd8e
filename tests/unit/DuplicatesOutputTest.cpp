// The three forms of the duplicate groups, read back by Python: one record a line whatever the
// paths hold, and the same facts in each.
#include "fontlist/DuplicatesOutput.h"

#include "fontlist/FontTypes.h"
#include "support/PythonPeer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using fontlist::DuplicateGroup;
using fontlist::DuplicatesFormat;
using fontlist::DuplicateTier;
using fontlist::KeepReason;
using fontlist::ScannedFile;

constexpr std::int64_t kSecond = 1'000'000'000;
constexpr std::int64_t kDecember9 = 1'796'805'600 * kSecond; // 2026-12-09T08:40:00Z

ScannedFile fileAt(std::vector<std::string> paths, std::uint64_t size, std::string version,
                   std::int64_t modifiedNs) {
    ScannedFile file;
    file.type = fontlist::fontTypeOf(paths.front());
    file.paths = std::move(paths);
    file.opened = true;
    file.named = true;
    file.stamp.size = size;
    file.stamp.modifiedNs = modifiedNs;
    file.version = std::move(version);
    return file;
}

// A group per tier, their paths holding a tab, LF, CR, a backslash and bytes that are not
// UTF-8; one file has a second name (a hard link), one a time before 1970.
std::vector<ScannedFile> scannedFiles() {
    std::vector<ScannedFile> files;
    files.push_back(
        fileAt({"top/a\tb.ttf", "top/sub/hard\nlink.ttf"}, 100, "Version 1.000", kDecember9));
    files.push_back(fileAt({"top/sub/c\rd.ttf"}, 100, "Version 1.000", -1));
    files.push_back(fileAt({"top/back\\slash.pfb"}, 2000, "001.000", kDecember9 + 59 * kSecond));
    files.back().companions = {".pfm"};
    files.back().missingCompanions = {".afm", ".inf", ".mmm"};
    files.push_back(fileAt({"top/caf\xE9.pfb"}, 2100, "001.000", kDecember9));
    files.back().companions = {".pfm", ".afm"};
    files.back().missingCompanions = {".inf", ".mmm"};
    files.push_back(fileAt({"top/v1.otf"}, 300, "Version 1.0", kDecember9));
    files.back().fontRevision = 0x00010000;
    files.push_back(fileAt({"top/new\xFF/v2.otf"}, 310, "Version 2.5", kDecember9));
    files.back().fontRevision = 0x00028000;
    return files;
}

std::vector<DuplicateGroup> groups() {
    return {
        {DuplicateTier::SameBytes, {0, 1}, 0, KeepReason::ShallowestFolder, std::nullopt},
        {DuplicateTier::SameFont, {2, 3}, 3, KeepReason::MostCompanions, std::nullopt},
        {DuplicateTier::OtherVersions, {4, 5}, 5, KeepReason::NewestVersion, 5},
    };
}

// Reads the groups back and prints a line per file: group, tier, keep, path and other names
// (hex), size, version, modified, newest, companions, missing companions, why, and in tier 3
// the revision. Text lines are parsed by their shape; the paths here hold no ": " or ", ".
constexpr const char* kReadBack = R"PY(
import sys, json, base64, re
form, name = sys.argv[1], sys.argv[2]
data = open(name, "rb").read()
assert data.endswith(b"\n")
lines = data.split(b"\n")[:-1]
unescape = {b"t": b"\t", b"n": b"\n", b"r": b"\r", b"\\": b"\\"}
def field(f):
    return re.sub(rb"\\(.)", lambda m: unescape[m.group(1)], f)
tiers = {b"same bytes": "1", b"same font, other bytes": "2", b"other versions": "3"}
def revision(v):
    return "" if v is None else "%g" % float(v)
records = []
if form == "tsv":
    header = lines[0].split(b"\t")
    assert header[-1] == b"other_names", header
    for line in lines[1:]:
        f = [field(x) for x in line.split(b"\t")]
        assert len(f) >= len(header), f
        others = [x for x in f[12:] if x]
        records.append([f[0].decode(), f[1].decode(), f[2].decode(), f[3], others,
                        f[4].decode(), f[5].decode(), f[7].decode(), f[8].decode(),
                        f[9].decode(), f[10].decode(), f[11].decode(),
                        revision(f[6].decode() or None) if f[1] == b"3" else ""])
elif form == "json":
    for line in lines:
        g = json.loads(line)
        keeps = []
        for f in g["files"]:
            path = base64.b64decode(f["path_bytes"]) if "path_bytes" in f else f["path"].encode()
            assert path.decode("utf-8", "replace") == f["path"]
            names = ([base64.b64decode(b) for b in f["names_bytes"]] if "names_bytes" in f
                     else [n.encode() for n in f["names"]])
            assert names[0] == path
            if f["keep"]:
                keeps.append(path)
            newest = "" if f["newest"] is None else ("yes" if f["newest"] else "no")
            records.append([str(g["group"]), str(g["tier"]), "yes" if f["keep"] else "no",
                            path, names[1:], str(f["size"]), f["version"], f["modified"],
                            newest, " ".join(f["companions"] or []),
                            " ".join(f["missing_companions"] or []), g["why"],
                            revision(f["font_revision"]) if g["tier"] == 3 else ""])
        keep = base64.b64decode(g["keep_bytes"]) if "keep_bytes" in g else g["keep"].encode()
        assert keeps == [keep] and tiers[g["tier_name"].encode()] == str(g["tier"])
else:
    heading = re.compile(rb"Group (\d+), (.+): keep (.+) \((.+)\)$")
    line_of_file = re.compile(rb"  (keep|    )  (.+?)(?:, also (.+?))?: (\d+) bytes, "
                              rb"(?:version (.+?)|no version)(?: \(revision (.+)\))?, "
                              rb"modified (\S+)(, newest)?(?:, with ([^,]+))?(?:, without ([^,]+))?$")
    for line in lines:
        if line == b"":
            continue
        h = heading.match(line)
        if h:
            group, tier, keep, why = h.group(1), tiers[h.group(2)], field(h.group(3)), h.group(4)
            continue
        m = line_of_file.match(line)
        assert m, line
        path = field(m.group(2))
        assert (m.group(1) == b"keep") == (path == keep)
        newest = ("yes" if m.group(8) else "no") if tier == "3" else ""
        records.append([group.decode(), tier, "yes" if m.group(1) == b"keep" else "no", path,
                        [field(m.group(3))] if m.group(3) else [], m.group(4).decode(),
                        field(m.group(5) or b"").decode(), m.group(7).decode(), newest,
                        (m.group(9) or b"").decode(), (m.group(10) or b"").decode(),
                        why.decode(), revision(m.group(6)) if tier == "3" else ""])
for r in records:
    r[3] = r[3].hex()
    r[4] = ",".join(n.hex() for n in r[4])
    print("|".join(r))
)PY";

TEST(DuplicatesOutput, EveryFormReadsBackAsOneRecordPerLineWithTheSameFacts) {
    if (!testsupport::pythonHas("json")) {
        GTEST_SKIP() << "no /usr/bin/python3";
    }
    const std::vector<ScannedFile> files = scannedFiles();
    const std::string expected =
        "1|1|yes|" + testsupport::hex("top/a\tb.ttf") + "|" +
        testsupport::hex("top/sub/hard\nlink.ttf") +
        "|100|Version 1.000|2026-12-09T08:40:00Z||||shallowest folder|\n"
        "1|1|no|" +
        testsupport::hex("top/sub/c\rd.ttf") +
        "||100|Version 1.000|1969-12-31T23:59:59Z||||shallowest folder|\n"
        "2|2|no|" +
        testsupport::hex("top/back\\slash.pfb") +
        "||2000|001.000|2026-12-09T08:40:59Z||.pfm|.afm .inf .mmm|has the most companions|\n"
        "2|2|yes|" +
        testsupport::hex("top/caf\xE9.pfb") +
        "||2100|001.000|2026-12-09T08:40:00Z||.pfm .afm|.inf .mmm|has the most companions|\n"
        "3|3|no|" +
        testsupport::hex("top/v1.otf") +
        "||300|Version 1.0|2026-12-09T08:40:00Z|no|||newest version|1\n"
        "3|3|yes|" +
        testsupport::hex("top/new\xFF/v2.otf") +
        "||310|Version 2.5|2026-12-09T08:40:00Z|yes|||newest version|2.5\n";
    const testsupport::TempDir out;
    for (const auto& [format, form] :
         {std::pair{DuplicatesFormat::Text, "text"}, std::pair{DuplicatesFormat::Tsv, "tsv"},
          std::pair{DuplicatesFormat::Json, "json"}}) {
        const fontlist::DuplicatesOptions options{.format = format};
        std::string written;
        fontlist::appendDuplicatesHeader(written, options);
        std::size_t number = 0;
        for (const DuplicateGroup& group : groups()) {
            fontlist::appendDuplicateGroup(written, options, ++number, group, files);
        }
        const std::string name = out.write(std::string("groups.") + form, written);
        EXPECT_EQ(testsupport::pythonOutput(kReadBack, {form, name}).value_or("failed"), expected)
            << form << ":\n"
            << written;
    }
}

} // namespace
