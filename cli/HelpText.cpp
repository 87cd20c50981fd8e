#include "cli/HelpText.h"

#ifndef QUILLVANE_VERSION_TEXT
#error "QUILLVANE_VERSION_TEXT must be defined by the build"
#endif

namespace cli {

namespace {

// The commands and their options.
std::string commandsText() {
    return R"(Usage: quillvane-cli COMMAND [OPTION]... OPERAND...

Reads the full names of TrueType (.ttf), OpenType (.otf), collection (.ttc, .otc: the first
font's), Mac suitcase (.dfont: the first font's), web (.woff, .woff2: the wrapped font's) and
Type 1 (.pfb, and .pfa and .t1 in text and Unix form) fonts, as the Quillvane window does,
and lists or copies the fonts of a directory under those names.

Commands:
  name FILE...         print each file's full name, a tab and the file's path; on a
                       terminal, control characters are shown escaped, as \x1b for ESC
  report [--lf] FILE   print the naming data of a font file, as the window's details pane
                       shows it; lines end in CR LF, or in LF with --lf
  html DIR             write DIR/_fonts.html, every font by name linked to its file, and
                       DIR/_report.txt, the files whose new names would collide (and
                       DIR/_specimens.html with --samples)
  copy DIR [--yes]     copy every font of DIR into DIR/friendly under a file name made from
                       its full name; a Type 1 font takes its .pfm, .afm, .inf and .mmm
                       files along. The fonts in DIR are never changed.
  help                 show this help

Options of html and copy:
  --spaces keep|dash|remove  spaces of the full names in the new names: kept (the default),
                             replaced with "-", or removed
  --filter both|ttf|pfb|otf|ttc|woff|pfa|dfont|all
                             the files of DIR taken: *.ttf and *.pfb (the default), *.ttf,
                             *.pfb, *.otf, the collections *.ttc and *.otc, the web fonts
                             *.woff and *.woff2, *.pfa and *.t1, the suitcases *.dfont, or
                             all ten, matched without regard to case
  -y, --yes                  (copy) answer Yes to every question

Options of html:
  --samples                  also write DIR/_specimens.html: every font in its own face,
                             its name, a sample at each size and its facts (version,
                             designer, licence, ...); the three files are replaced together
  --sample-text TEXT         (with --samples) the sample of every font; by default each
                             font shows a text in the script it covers
  --sizes 12,18,24,36        (with --samples) the samples' sizes in pixels: 1 to 8 whole
                             numbers from 6 to 300

Option of name, report, html and copy:
  --readable, --unicode      readable names of the sfnt fonts (all but Type 1): the full
                             name in the user's language (LC_ALL, LC_MESSAGES or LANG)
                             where the font has it, else in US English, else in any
                             English, else the record chosen without the option; Windows
                             and Unicode names read as UTF-16, Macintosh Roman ones as Mac
                             Roman; the names, the report, the page, its report and the
                             new file names show the fonts' own letters, and the report
                             names languages and the later name IDs. Without it each byte
                             of a name is one Windows-1252 character, as stored pages and
                             scripts expect: a Cyrillic or Chinese name comes out as
                             unreadable Latin letters
)";
}

// What the tool does of its own accord, and its exit statuses.
std::string behaviourText() {
    return R"(Without --yes, copy asks its questions on the terminal; when standard input is not a terminal
they are answered No. Messages go to standard error; while a run works through a directory,
a terminal shows how many files are left.

  -h, --help     show this help and exit
  -V, --version  show the version and exit

Exit status:
  0  name: every name was read; report: the report was printed; html: the files were
     created ("Created ..."); copy: every font was copied ("Finished.")
  1  name: a name could not be read (its line holds "error: ..."); report: the font could
     not be reported (its failure is printed); html and copy: the run was
     refused (no fonts in DIR, DIR in the system font directory), stopped by a failure, or
     a question was answered No or Cancel
  2  the command line cannot be run: unknown command or option, missing or extra operand,
     a FILE or DIR that is missing or of the wrong kind
  3  html: both files were written, but fonts that could not be read are listed under
     their error text; copy: the run finished, but some fonts were left incomplete: a copy
     failed (a read-only file in the way) and the question whether to go on was answered
     Yes, a file could not be read, a .pfb had no .pfm, a companion could not be copied, or
     a new name was one of the fonts being copied (never replaced); standard error says how
     many
  130  html and copy: stopped by Ctrl+C after the font in hand (a second Ctrl+C ends the
       tool at once); html then leaves _fonts.html and _report.txt (and
       _specimens.html) as they were
)";
}

} // namespace

std::string helpText() {
    return commandsText() + "\n" + behaviourText();
}

std::string versionText() {
    return "quillvane-cli (Quillvane) " QUILLVANE_VERSION_TEXT "\n";
}

} // namespace cli
