#include "fontlist/SamplesPage.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "fontlist/PageText.h"
#include "platform/OrderedWorkPool.h"

namespace fontlist::samples_page {

namespace {

// One line, so that the text the browser hashes is the text hashed here whatever line ends
// the page has.
constexpr std::string_view kFilterScript =
    "(function () { var box = document.getElementById(\"filter\"); var blocks = "
    "document.querySelectorAll(\"section.specimen\"); function apply() { var wanted = "
    "box.value.toLowerCase(); for (var i = 0; i < blocks.length; i++) { blocks[i].hidden = "
    "blocks[i].getAttribute(\"data-name\").toLowerCase().indexOf(wanted) < 0; } } var asked = "
    "/^#filter=(.*)$/.exec(location.hash); if (asked) { try { box.value = "
    "decodeURIComponent(asked[1]); } catch (e) { box.value = asked[1]; } } "
    "box.addEventListener(\"input\", function () { apply(); history.replaceState(null, \"\", "
    "\"#filter=\" + encodeURIComponent(box.value)); }); apply(); })();";

constexpr std::string_view kPolicy =
    "default-src 'none'; style-src 'unsafe-inline'; "
    "script-src 'sha256-Fm7a84QPRKrSr+Dln+1O2sZ5xVWur3coLOziNIa/Q50='; font-src 'self'; "
    "img-src data:; base-uri 'none'; form-action 'none'";

constexpr std::string_view kStyle[] = {
    "body { font-family: sans-serif; margin: 1em 2em }",
    "#filter { width: 100%; max-width: 40em; font-size: 1.2em; margin-bottom: 1em }",
    ".specimen { content-visibility: auto; contain-intrinsic-size: auto 240px }",
    ".specimen { border-top: 1px solid #ccc; padding: 0.5em 0 }",
    ".specimen h2 { font-size: 28px; font-weight: normal; margin: 0.2em 0 }",
    ".sample { margin: 0.1em 0; white-space: nowrap; overflow: hidden }",
    ".facts { font-size: 13px; color: #555 }",
    ".reason { font-size: 13px; color: #a00 }",
    ".drawn { max-width: 100%; height: auto }",
    "[hidden] { display: none }",
    "@media print { .specimen { break-inside: avoid; content-visibility: visible } }",
    "@media print { #filter { display: none } }",
};

// The blocks are made in pieces of this many files, side by side, and written in order; the
// pieces run in slices, so that what waits to be written stays small (a block with an image
// holds tens of kilobytes).
constexpr std::size_t kPiece = 16;
constexpr std::size_t kSlice = 16;

// The style's rules for the sizes, and a face for every file the browser draws, under a
// generated name: a font's own name never reaches the style.
template <typename WriteLine>
void writeStyle(WriteLine&& writeLine, const PageSource& source) {
    writeLine("<style>");
    for (const std::string_view rule : kStyle) {
        writeLine(rule);
    }
    for (const int size : source.context.options.sizes) {
        const std::string pixels = std::to_string(size);
        std::string rule(".s");
        rule += pixels;
        rule += " { font-size: ";
        rule += pixels;
        rule += "px }";
        writeLine(rule);
    }
    std::string rules; // reused for every file
    for (std::size_t i = 0; i < source.rows.size(); ++i) {
        const FontType* type = fontTypeOf(source.rows.name(i));
        if (type == nullptr || !type->browserDraws) {
            continue;
        }
        const std::string face = faceClass(i);
        rules.assign("@font-face { font-family: ");
        rules += face;
        rules += "; src: url(\"";
        page_text::appendFileUrl(rules, source.rows.name(i));
        rules += "\") }\r\n.";
        rules += face;
        rules += " { font-family: ";
        rules += face;
        rules += ", sans-serif }";
        writeLine(rules);
    }
    writeLine("</style>");
}

// The blocks of the files from..to - 1, each but the last followed by its line end.
std::string piece(const PageSource& source, std::size_t from, std::size_t to) {
    std::string blocks;
    std::string path;
    for (std::size_t i = from; i < to; ++i) {
        if (i > from) {
            blocks += "\r\n";
        }
        path.assign(source.directory);
        path += source.rows.name(i);
        std::optional<std::uint64_t> bytes;
        try {
            bytes = source.rows.length(i, path);
        } catch (const platform::Failure&) {
            // The block says why the file could not be read; it has no size to show.
        }
        const ListedFont font{source.rows.name(i), source.rows.key(i), i, path, bytes};
        appendBlocks(blocks, font, source.context);
    }
    return blocks;
}

} // namespace

std::string_view filterScript() {
    return kFilterScript;
}

std::string_view contentSecurityPolicy() {
    return kPolicy;
}

void writeSamplesPage(platform::TextFileWriter& page, const PageSource& source) {
    const auto writeLine = [&page](std::string_view line) { page.writeLine(line); };
    writeLine("<!DOCTYPE html>");
    writeLine("<html lang=\"en\">");
    writeLine("<head>");
    writeLine("<meta charset=\"UTF-8\">");
    writeLine("<meta http-equiv=\"Content-Security-Policy\" content=\"" + std::string(kPolicy) +
              "\">");
    writeLine("<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">");
    writeLine("<title>Font specimens</title>");
    writeStyle(writeLine, source);
    writeLine("</head>");
    writeLine("<body>");
    writeLine("<input id=\"filter\" type=\"search\" placeholder=\"Filter by name\" "
              "aria-label=\"Filter by name\">");
    const std::size_t count = source.rows.size();
    const std::size_t pieces = (count + kPiece - 1) / kPiece;
    for (std::size_t first = 0; first < pieces; first += kSlice) {
        platform::inOrderParallel<std::string>(
            std::min(kSlice, pieces - first),
            [&](std::size_t j) {
                const std::size_t from = (first + j) * kPiece;
                return piece(source, from, std::min(from + kPiece, count));
            },
            [&](std::size_t, std::string&& blocks) { writeLine(blocks); });
    }
    writeLine("<script>" + std::string(kFilterScript) + "</script>");
    writeLine("</body>");
    writeLine("</html>");
    page.close();
}

} // namespace fontlist::samples_page
