#pragma once

#include <string>
#include <vector>

// Debian's Chromium, headless, as the tests of the pages drive it: each run a process of its
// own with a fresh profile, its arguments handed over without a shell.
namespace chromium {

// Why Chromium cannot start here (not installed, or it does not draw a page); empty where it
// can. Found out once per process.
const std::string& startProblem();

// What Chromium made of the page at url: the document as it parsed it and ran its script,
// serialised in UTF-8.
std::string dom(const std::string& url);

// Chromium's picture of the page at url, in a window of width x height pixels, as a PNG file
// at png. True when the file was written.
bool screenshot(const std::string& url, const std::string& png, int width, int height);

// The page at url printed to a PDF file at pdf (the print style sheet applies). True when the
// file was written.
bool printToPdf(const std::string& url, const std::string& pdf);

// A file:// URL of an absolute path, every byte but letters, digits and "/-._~" percent-encoded.
std::string fileUrl(const std::string& path);

// A link's target as a path: "%XX" decoded, everything else as it stands.
std::string decodedPercents(const std::string& href);

// Runs a program with the arguments (arguments[0] is its path) and returns its standard output;
// standard error goes to the file errors when one is named.
std::string outputOf(const std::vector<std::string>& arguments, const std::string& errors = {});

} // namespace chromium
