#include "app/AccessibleNames.h"

#include <QPlainTextEdit>
#include <QWidget>

namespace app {

namespace {

struct AccessibleText {
    const char* control;
    const char* name; // nullptr: the caption is the name
    const char* description;
};

constexpr AccessibleText accessibleTexts[] = {
    {"CreateHTMLFontList", nullptr,
     "Writes _fonts.html, the listed fonts by name, and _report.txt, the names that would "
     "collide, into the folder"},
    {"Drive1", "Drive", "The volume whose folders are listed"},
    {"Dir1", "Folders", "Enter or a double click opens the highlighted folder"},
    {"File1", "Font files",
     "The font files of the folder; the highlighted one is described under Font details"},
    {"RenameFonts", nullptr,
     "Copies every listed font into the sub-folder friendly, named after its full name"},
    {"FontDetails", "Font details", "The naming data of the highlighted font file"},
    {"Command1", nullptr, "The program's name and version"},
    {"Frame1", nullptr, "This will not affect the original font filename"},
    {"cmbFontType", "Font type", "Which font files the list shows"},
    {"chkReadableNames", "Readable names",
     "Names in the fonts' own scripts, in your language where the font has it; off: the "
     "stored byte-wise rule"},
    {"chkFontSamples", "Font samples",
     "Show each font in its own face, and write a specimen page with the HTML list"},
};

} // namespace

void giveAccessibleNames(QWidget& window) {
    for (const AccessibleText& text : accessibleTexts) {
        auto* control = window.findChild<QWidget*>(QString::fromLatin1(text.control));
        if (control == nullptr) {
            continue;
        }
        if (text.name != nullptr) {
            control->setAccessibleName(QString::fromLatin1(text.name));
        }
        control->setAccessibleDescription(QString::fromLatin1(text.description));
    }
    if (auto* pane = window.findChild<QPlainTextEdit*>(QStringLiteral("FontDetails"))) {
        pane->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    }
}

} // namespace app
