// The window under the offscreen platform: start-up, browsing, the type filter, the resize
// rule, the About box and the window state, driven through the controls' object names.
#include "app/Form1.h"
#include "app/AboutText.h"
#include "app/DetailsPane.h"
#include "app/DirectoryList.h"
#include "app/FileList.h"
#include "app/QtMessagePresenter.h"
#include "app/QuillvaneVersion.h"
#include "app/SampleStrip.h"
#include "fontlist/FontTypes.h"
#include "support/CollectionWriter.h"
#include "support/PfbWriter.h"
#include "support/ScriptedMessages.h"
#include "support/TempDir.h"
#include "support/TrueTypeWriter.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGroupBox>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStorageInfo>
#include <QStyle>
#include <QTest>
#include <QTimer>

#ifdef QUILLVANE_HAVE_QPA
#include <qpa/qwindowsysteminterface.h>
#endif

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

using app::Form1;

namespace {

struct Window {
    explicit Window(const std::string& directory, std::function<std::string()> systemFontRoot = {})
        : Window(directory, std::chrono::milliseconds(0), std::move(systemFontRoot)) {}
    // Every progress title is handed to the window unless an interval says otherwise.
    Window(const std::string& directory, std::chrono::milliseconds progressInterval,
           std::function<std::string()> systemFontRoot = {})
        : form(Form1::Services{directory, std::move(systemFontRoot), &messages, progressInterval}) {
    }

    template <typename T>
    T* control(const char* name) {
        auto* found = form.findChild<T*>(QString::fromLatin1(name));
        if (found == nullptr) {
            qFatal("no control named %s", name);
        }
        return found;
    }
    app::FileList* files() { return control<app::FileList>("File1"); }
    // Where row i of the file list is painted, in its viewport, and what it shows.
    QRect row(int i) { return files()->visualRect(files()->model()->index(i, 0)); }
    QString rowText(int i) { return files()->model()->index(i, 0).data().toString(); }
    app::DirectoryList* directories() { return control<app::DirectoryList>("Dir1"); }
    QPushButton* button(const char* name) { return control<QPushButton>(name); }
    QString details() { return control<QPlainTextEdit>("FontDetails")->toPlainText(); }
    QStringList entries() {
        QStringList list;
        for (int i = 0; i < files()->entryCount(); ++i) {
            list << QString::fromStdString(files()->entry(i));
        }
        return list;
    }
    bool batchButtonsEnabled() {
        const bool html = button("CreateHTMLFontList")->isEnabled();
        const bool rename = button("RenameFonts")->isEnabled();
        if (html != rename) {
            qFatal("the two batch buttons disagree");
        }
        return html;
    }

    testsupport::ScriptedMessages messages;
    Form1 form;
};

// Real, modal message boxes (the window behind is blocked, as on a desktop), each closed
// shortly after it appears, a question by its default button; records the texts.
class ClosedBoxes : public fontlist::MessagePresenter {
public:
    fontlist::Answer show(const fontlist::UserMessage& message) override {
        texts.push_back(message.text);
        QTimer::singleShot(50, [] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box != nullptr && box->defaultButton() != nullptr) {
                box->defaultButton()->click();
            } else {
                QApplication::activeModalWidget()->close();
            }
        });
        return boxes_.show(message);
    }
    std::vector<std::string> texts;

private:
    QWidget owner_;
    app::QtMessagePresenter boxes_{&owner_};
};

std::string joined(const testsupport::TempDir& dir, const char* name) {
    return (dir.path() / name).string();
}

// A directory whose name is Latin-1 rather than UTF-8, holding a font whose name is Latin-1
// too: "déjà/café.ttf" as an old archive keeps them. Returns the directory's path.
constexpr const char* latin1Directory = "d\xE9j\xE0";
constexpr const char* latin1Font = "caf\xE9.ttf";

std::string writeLatin1Fonts(const testsupport::TempDir& dir) {
    const std::string folder = joined(dir, latin1Directory);
    dir.write(std::string(latin1Directory) + "/" + latin1Font,
              testsupport::trueTypeFontNamed(u"Cafe Sans"));
    dir.write(std::string(latin1Directory) + "/z.ttf",
              testsupport::trueTypeFontNamed(u"Zeta Serif"));
    return folder;
}

// Makes a directory the process's current one for as long as it lives.
class CurrentDirectory {
public:
    explicit CurrentDirectory(const std::string& directory)
        : before_(std::filesystem::current_path()) {
        std::filesystem::current_path(directory);
    }
    ~CurrentDirectory() { std::filesystem::current_path(before_); }
    CurrentDirectory(const CurrentDirectory&) = delete;
    CurrentDirectory& operator=(const CurrentDirectory&) = delete;

private:
    std::filesystem::path before_;
};

} // namespace

class Form1Test : public QObject {
    Q_OBJECT

private slots:
    void startsEmptyInDirectoryWithoutFonts() {
        testsupport::TempDir dir;
        dir.write("readme.txt", "not a font");
        Window window(dir.str());

        QCOMPARE(window.files()->entryCount(), 0);
        QVERIFY(!window.batchButtonsEnabled());
        QVERIFY(window.button("Command1")->isEnabled());
        QCOMPARE(window.details(), QString());
        QCOMPARE(window.form.state().FontPath, std::string());
        QCOMPARE(window.control<QComboBox>("cmbFontType")->currentText(),
                 QStringLiteral("Both font types (*.ttf;*.pfb)"));
        QCOMPARE(window.files()->pattern(), QStringLiteral("*.ttf;*.pfb"));
    }

    void startsOnFirstFontFile() {
        testsupport::TempDir dir;
        dir.write("b.ttf", "x");
        dir.write("A.pfb", "x");
        dir.write("FONT.TTF", "x");
        dir.write("c.PFB", "x");
        dir.write("notes.txt", "x");
        dir.write(".hidden.ttf", "x");
        std::filesystem::create_directory(dir.path() / "folder.ttf");
        Window window(dir.str());

        // Case-insensitive matching and order; hidden files and directories are not listed.
        QCOMPARE(window.entries(), (QStringList{"A.pfb", "b.ttf", "c.PFB", "FONT.TTF"}));
        QCOMPARE(window.files()->selectedIndex(), 0);
        QCOMPARE(window.form.state().FontPath, joined(dir, "A.pfb"));
        QVERIFY(window.batchButtonsEnabled());
        QCOMPARE(window.control<QRadioButton>("optnSpaces_0")->isChecked(), true);
        // The first selection and the type filter's first choice share one listing.
        QCOMPARE(window.files()->listingCount(), 1);
        QVERIFY(window.form.spacesOption() == fontlist::SpacesOption::NoChange);
    }

    void typeFilterSetsPattern_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("both") << "Both font types (*.ttf;*.pfb)"
                              << "*.ttf;*.pfb" << QStringList{"a.pfb", "b.TTF", "c.ttf"};
        QTest::newRow("truetype") << "TrueType fonts (*.ttf)"
                                  << "*.ttf" << QStringList{"b.TTF", "c.ttf"};
        QTest::newRow("type1") << "Type1 fonts (*.pfb)"
                               << "*.pfb" << QStringList{"a.pfb"};
        QTest::newRow("opentype") << "OpenType (*.otf)"
                                  << "*.otf" << QStringList{"e.otf"};
        QTest::newRow("collections") << "Collections (*.ttc;*.otc)"
                                     << "*.ttc;*.otc" << QStringList{"f.ttc", "G.OTC"};
        QTest::newRow("web fonts") << "Web fonts (*.woff;*.woff2)"
                                   << "*.woff;*.woff2" << QStringList{"k.woff", "L.WOFF2"};
        QTest::newRow("type1 text") << "Type1 text and Unix fonts (*.pfa;*.t1)"
                                    << "*.pfa;*.t1" << QStringList{"h.pfa", "I.T1"};
        QTest::newRow("suitcases") << "Mac suitcases (*.dfont)"
                                   << "*.dfont" << QStringList{"j.dfont"};
        QTest::newRow("all")
            << "All font types (*.ttf;*.otf;*.ttc;*.otc;*.dfont;*.woff;*.woff2;*.pfb;*.pfa;*.t1)"
            << "*.ttf;*.otf;*.ttc;*.otc;*.dfont;*.woff;*.woff2;*.pfb;*.pfa;*.t1"
            << QStringList{"a.pfb", "b.TTF", "c.ttf",   "e.otf",  "f.ttc",  "G.OTC",
                           "h.pfa", "I.T1",  "j.dfont", "k.woff", "L.WOFF2"};
    }
    void typeFilterSetsPattern() {
        QFETCH(QString, item);
        QFETCH(QString, pattern);
        QFETCH(QStringList, listed);
        testsupport::TempDir dir;
        for (const char* name : {"a.pfb", "b.TTF", "c.ttf", "d.afm", "e.otf", "f.ttc", "G.OTC",
                                 "h.pfa", "I.T1", "j.dfont", "k.woff", "L.WOFF2"}) {
            dir.write(name, "x");
        }
        Window window(dir.str());
        window.form.setFontTypeText(item);

        QCOMPARE(window.control<QComboBox>("cmbFontType")->currentText(), item);
        QCOMPARE(window.files()->pattern(), pattern);
        QCOMPARE(window.entries(), listed);
        QCOMPARE(window.files()->selectedIndex(), 0);
        QCOMPARE(window.form.state().FontPath, joined(dir, listed.first().toUtf8().constData()));
        QVERIFY(window.batchButtonsEnabled());
    }

    void trueTypeFilterInType1DirectoryEmptiesList() {
        testsupport::TempDir dir;
        dir.write("one.pfb", testsupport::pfbFont(testsupport::typicalClearText("One Bold")));
        dir.write("two.pfb", testsupport::pfbFont(testsupport::typicalClearText("Two")));
        Window window(dir.str());
        window.form.setDetailsText("kept");

        window.form.setFontTypeText(QStringLiteral("TrueType fonts (*.ttf)"));
        QCOMPARE(window.files()->entryCount(), 0);
        QVERIFY(!window.batchButtonsEnabled());
        QCOMPARE(window.form.state().FontPath, joined(dir, "one.pfb"));
        // The pane says why the list is empty, and where the fonts are.
        QCOMPARE(window.details(), QStringLiteral("No .ttf files here. This folder holds 2 .pfb "
                                                  "files: choose \"All font types\" in the type "
                                                  "filter."));

        // Back to both types: the list refills and its first entry is selected again.
        window.form.setFontTypeText(QStringLiteral("Both font types (*.ttf;*.pfb)"));
        QCOMPARE(window.entries(), (QStringList{"one.pfb", "two.pfb"}));
        QVERIFY(window.batchButtonsEnabled());
        QVERIFY(
            window.details().startsWith(QStringLiteral("Name info for %1\n")
                                            .arg(QString::fromStdString(joined(dir, "one.pfb")))));
    }

    void userChoosingFilterItemRunsClickHandler() {
        testsupport::TempDir dir;
        dir.write("a.pfb", "x");
        dir.write("b.ttf", "x");
        Window window(dir.str());
        auto* combo = window.control<QComboBox>("cmbFontType");
        combo->setCurrentIndex(2);
        emit combo->activated(2);
        QCOMPARE(window.files()->pattern(), QStringLiteral("*.pfb"));
        QCOMPARE(window.entries(), QStringList{"a.pfb"});
    }

    void choosingTheFirstFilterAgainReadsTheFolderAgain() {
        testsupport::TempDir dir;
        dir.write("a.pfb", "x");
        Window window(dir.str());
        dir.write("b.ttf", "x");
        emit window.control<QComboBox>("cmbFontType")->activated(0);
        QCOMPARE(window.files()->listingCount(), 2);
        QCOMPARE(window.entries(), (QStringList{"a.pfb", "b.ttf"}));
    }

    void movingToDirectoryWithoutMatchesKeepsSelection() {
        testsupport::TempDir dir;
        dir.write("font.ttf", "x");
        dir.write("empty/readme.txt", "x");
        Window window(dir.str());
        window.form.setDetailsText("report of font.ttf");

        QVERIFY(window.directories()->setPath(joined(dir, "empty")));
        QCOMPARE(window.files()->path(), joined(dir, "empty"));
        QCOMPARE(window.files()->entryCount(), 0);
        QVERIFY(!window.batchButtonsEnabled());
        QCOMPARE(window.form.state().FontPath, joined(dir, "font.ttf"));
        QCOMPARE(window.details(), QStringLiteral("report of font.ttf"));
    }

    void openingDirectoryEntryMovesThereAndSelectsFirstFile() {
        testsupport::TempDir dir;
        dir.write("sub/z.pfb", "x");
        dir.write("sub/y.ttf", "x");
        Window window(dir.str());
        QVERIFY(!window.batchButtonsEnabled());

        // The entry is a sub-directory of the current directory; activating it opens it.
        auto* tree = window.directories();
        const auto found =
            tree->findItems(QStringLiteral("sub"), Qt::MatchExactly | Qt::MatchRecursive);
        QCOMPARE(found.size(), 1);
        emit tree->itemActivated(found.first(), 0);

        QCOMPARE(tree->path(), joined(dir, "sub"));
        QCOMPARE(window.entries(), (QStringList{"y.ttf", "z.pfb"}));
        QCOMPARE(window.form.state().FontPath, joined(dir, "sub/y.ttf"));
        QVERIFY(window.batchButtonsEnabled());
    }

    void hiddenDirectoriesAreLeftOutUnlessTheyAreOnThePath() {
        testsupport::TempDir dir;
        dir.write("visible/a.ttf", testsupport::trueTypeFontNamed(u"Alpha"));
        dir.write(".hidden/inner/b.ttf", testsupport::trueTypeFontNamed(u"Beta"));
        const auto shows = [](app::DirectoryList* tree, const char* name) {
            return tree->findItems(QString::fromLatin1(name), Qt::MatchExactly | Qt::MatchRecursive)
                .size();
        };
        Window window(dir.str());
        QCOMPARE(shows(window.directories(), "visible"), 1);
        QCOMPARE(shows(window.directories(), ".hidden"), 0);

        // Started inside a hidden directory, the list shows it among the current directory's
        // parents, and its own sub-directories below it.
        Window inside(joined(dir, ".hidden"));
        QCOMPARE(shows(inside.directories(), ".hidden"), 1);
        QCOMPARE(shows(inside.directories(), "inner"), 1);
    }

    void unreadableDirectoryIsRefusedWithMessage() {
        testsupport::TempDir dir;
        dir.write("font.ttf", "x");
        Window window(dir.str());

        QVERIFY(!window.directories()->setPath(joined(dir, "gone")));
        QCOMPARE(window.messages.shown.size(), std::size_t{1});
        const fontlist::UserMessage& message = window.messages.shown.front();
        QCOMPARE(message.icon, fontlist::MessageIcon::Warning);
        QCOMPARE(message.buttons, fontlist::Buttons::Ok);
        QVERIFY(message.text.find(joined(dir, "gone")) != std::string::npos);
        QVERIFY(message.text.find("Path not found") != std::string::npos);
        // Everything stays on the last good place.
        QCOMPARE(window.directories()->path(), dir.str());
        QCOMPARE(window.files()->path(), dir.str());
        QCOMPARE(window.entries(), QStringList{"font.ttf"});

        // A listed directory deleted since: the highlight goes back to the current directory
        // and the deleted one leaves the list.
        auto* tree = window.directories();
        const QString here = tree->currentItem()->text(0);
        std::filesystem::create_directory(dir.path() / "listed");
        tree->refresh();
        std::filesystem::remove(dir.path() / "listed");
        tree->setCurrentItem(tree->findItems("listed", Qt::MatchExactly | Qt::MatchRecursive)[0]);
        emit tree->itemActivated(tree->currentItem(), 0);
        QCOMPARE(window.messages.shown.size(), std::size_t{2});
        QCOMPARE(tree->currentItem()->text(0), here);
        QVERIFY(tree->findItems("listed", Qt::MatchExactly | Qt::MatchRecursive).isEmpty());
    }

    void clickingSelectedEntryAgainReselects() {
        testsupport::TempDir dir;
        dir.write("a.ttf", testsupport::trueTypeFontNamed(u"Alpha"));
        dir.write("b.ttf", testsupport::trueTypeFontNamed(u"Beta"));
        Window window(dir.str());
        window.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window.form));
        window.form.setDetailsText("stale");

        // Clicking the entry that is already selected reads the file again.
        auto* list = window.files();
        dir.write("a.ttf", testsupport::trueTypeFontNamed(u"Alpha Changed"));
        const QRect first = window.row(0);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first.center());
        QVERIFY(window.details().contains(QStringLiteral("Full Font Name | Alpha Changed\n")));
        QCOMPARE(window.form.state().FontPath, joined(dir, "a.ttf"));

        const QRect second = window.row(1);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
        QCOMPARE(window.form.state().FontPath, joined(dir, "b.ttf"));
        QTest::keyClick(list, Qt::Key_Up);
        QCOMPARE(window.form.state().FontPath, joined(dir, "a.ttf"));
    }

    void everyGestureThatMovesTheHighlightShowsThatFileOnce() {
        testsupport::TempDir dir;
        for (const char* name : {"a.ttf", "b.ttf", "c.ttf"}) {
            dir.write(name, testsupport::trueTypeFontNamed(u"Font"));
        }
        Window window(dir.str());
        window.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window.form));
        auto* list = window.files();
        QSignalSpy shown(list, &app::FileList::clicked);

        // A press on another file shows it at once; the release that completes the click does
        // not show it a second time.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, window.row(1).center());
        QCOMPARE(shown.count(), 1);
        QCOMPARE(window.form.state().FontPath, joined(dir, "b.ttf"));

        // Pressed on one file, dragged to another and released there: the second is shown.
        QTest::mousePress(list->viewport(), Qt::LeftButton, {}, window.row(0).center());
        QTest::mouseMove(list->viewport(), window.row(2).center());
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, window.row(2).center());
        QCOMPARE(list->selectedIndex(), 2);
        QCOMPARE(window.form.state().FontPath, joined(dir, "c.ttf"));

        // A right click moves the highlight too.
        QTest::mouseClick(list->viewport(), Qt::RightButton, {}, window.row(0).center());
        QCOMPARE(list->selectedIndex(), 0);
        QCOMPARE(window.form.state().FontPath, joined(dir, "a.ttf"));
    }

    // Each way the highlight could leave the file the pane shows.
    void highlightStaysOnTheFileThePaneShows_data() {
        QTest::addColumn<QString>("gesture");
        QTest::newRow("click on empty space") << "empty";
        QTest::newRow("ctrl+click on the highlighted row") << "ctrl+click";
        QTest::newRow("ctrl+space") << "ctrl+space";
        QTest::newRow("re-read after a copy run") << "run";
    }
    void highlightStaysOnTheFileThePaneShows() {
        QFETCH(QString, gesture);
        testsupport::TempDir dir;
        for (const char* name : {"a.ttf", "b.ttf", "c.ttf"}) {
            dir.write(name, testsupport::trueTypeFontNamed(u"Face"));
        }
        Window window(dir.str());
        window.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window.form));
        auto* list = window.files();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, window.row(1).center());

        if (gesture == QLatin1String("empty")) {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              window.row(2).center() + QPoint(0, 3 * window.row(2).height()));
        } else if (gesture == QLatin1String("ctrl+click")) {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                              window.row(1).center());
        } else if (gesture == QLatin1String("ctrl+space")) {
            QTest::keyClick(list, Qt::Key_Space, Qt::ControlModifier);
        } else {
            window.form.RenameFonts_Click();
            QCOMPARE(window.messages.shown.back().text, std::string("Finished."));
        }
        const QModelIndexList highlighted = list->selectionModel()->selectedIndexes();
        QCOMPARE(highlighted.size(), 1);
        QCOMPARE(highlighted[0].row(), 1);
        QVERIFY(window.details().contains(QString::fromStdString(joined(dir, "b.ttf"))));
    }

    void selectingFontsShowsTheirReports() {
        testsupport::TempDir dir;
        testsupport::NameTableLayout names;
        names.records = {{1, 0, 0, 1, "Example Sans"},
                         {3, 1, 0x0409, 4, testsupport::utf16be(u"Example Sans Bold")}};
        dir.write("A.TTF", testsupport::trueTypeFont(names));
        dir.write("b.PFB", testsupport::pfbFont(testsupport::typicalClearText(
                               "Courier Bold", "Courier", "Bold", "002.004")));
        Window window(dir.str());

        // The first file's report is in the pane at start-up, without a click.
        const QString ttfPath = QString::fromStdString(joined(dir, "A.TTF"));
        QCOMPARE(window.details(), QStringLiteral("NAME Table Info for %1\n"
                                                  "Name Records | 2\n"
                                                  "Mac ENG Font Name | Example Sans\n"
                                                  "Win Unicode ENU Full Font Name | "
                                                  "Example Sans Bold\n")
                                       .arg(ttfPath));
        QCOMPARE(window.form.state().InfoText,
                 window.details().replace(QLatin1Char('\n'), QStringLiteral("\r\n")).toStdString());

        window.files()->setSelectedIndex(1);
        const QStringList lines = window.details().split(QLatin1Char('\n'));
        QCOMPARE(
            lines.first(),
            QStringLiteral("Name info for %1").arg(QString::fromStdString(joined(dir, "b.PFB"))));
        QCOMPARE(lines.mid(lines.size() - 5),
                 (QStringList{"002.004", "Courier Bold", "Courier", "Bold", ""}));
    }

    // "Readable names" starts off and fits its place; toggling it shows the selected file again
    // with the other decoding, and the batch runs take it too.
    void readableNamesCheckBoxReshowsTheFileAndReachesTheCopies() {
        testsupport::TempDir dir;
        dir.write("a.ttf", testsupport::trueTypeFontNamed(u"Шрифт Жирный"));
        Window window(dir.str());
        auto* box = window.control<QCheckBox>("chkReadableNames");
        QVERIFY(!box->isChecked());
        QCOMPARE(box->text(), QStringLiteral("Readable names"));
        QVERIFY(box->sizeHint().width() <= box->width());
        QCOMPARE(box->accessibleName(), QStringLiteral("Readable names"));
        const QString tip =
            QStringLiteral("Names in the fonts' own scripts, in your language where "
                           "the font has it; off: the stored byte-wise rule");
        QCOMPARE(box->toolTip(), tip);
        QCOMPARE(box->accessibleDescription(), tip);
        const QString byteWise = window.details();
        QVERIFY(!byteWise.contains(QStringLiteral("Шрифт")));

        box->click();
        QVERIFY(window.details().endsWith(QStringLiteral("Full Font Name | Шрифт Жирный\n")));
        window.form.RenameFonts_Click();
        QVERIFY(std::filesystem::exists(dir.path() / "friendly" / "Шрифт Жирный.ttf"));

        box->click();
        QCOMPARE(window.details(), byteWise);
    }

    // "Font samples" starts off and fits its place; while on, the selected font is drawn above
    // the naming data (a reason line for one that cannot be drawn); off, the pane is as it was
    // to the pixel.
    void fontSamplesBoxDrawsTheSelectedFontAboveTheText() {
        const std::string sans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
        const std::string serif = "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf";
        if (!std::filesystem::exists(sans) || !std::filesystem::exists(serif)) {
            QSKIP("no DejaVu fonts (package fonts-dejavu-core)");
        }
        testsupport::TempDir dir;
        std::filesystem::copy_file(sans, dir.path() / "a.ttf");
        std::filesystem::copy_file(serif, dir.path() / "b.ttf");
        dir.write("c.ttf", "This file carries a font's extension but holds no font.\n");
        Window window(dir.str());
        window.form.show();
        auto* box = window.control<QCheckBox>("chkFontSamples");
        QVERIFY(!box->isChecked());
        QCOMPARE(box->text(), QStringLiteral("Font samples"));
        QVERIFY2(
            box->sizeHint().width() <= box->width(),
            qPrintable(QStringLiteral("%1 > %2").arg(box->sizeHint().width()).arg(box->width())));
        const QString tip = QStringLiteral(
            "Show each font in its own face, and write a specimen page with the HTML list");
        QCOMPARE(box->toolTip(), tip);
        QCOMPARE(box->accessibleName(), QStringLiteral("Font samples"));
        QCOMPARE(box->accessibleDescription(), tip);
        auto* pane = dynamic_cast<app::DetailsPane*>(window.control<QPlainTextEdit>("FontDetails"));
        QVERIFY(pane != nullptr);
        const app::SampleStrip& strip = pane->sampleStrip();
        const QString text = window.details();
        QVERIFY(strip.isHidden());
        // Off again, the text starts where it did (the horizontal scroll bar may come or go: Qt
        // lays out the lines again for the other height).
        const QRect textArea = pane->viewport()->geometry();
        box->click();
        box->click();
        QVERIFY(strip.isHidden());
        QCOMPARE(pane->viewport()->geometry().top(), pane->frameWidth());
        QCOMPARE(pane->viewport()->geometry().topLeft(), textArea.topLeft());
        QCOMPARE(pane->viewport()->width(), textArea.width());

        box->click();
        QVERIFY(strip.isVisible());
        QVERIFY(!strip.coverage().isNull());
        QVERIFY(strip.reason().isEmpty());
        QVERIFY(pane->viewport()->geometry().top() >= strip.geometry().bottom());
        QCOMPARE(window.details(), text);
        const QImage sansSample = strip.coverage();

        window.files()->setSelectedIndex(1);
        QVERIFY(!strip.coverage().isNull());
        QVERIFY(strip.coverage() != sansSample);
        window.files()->setSelectedIndex(2);
        QVERIFY(strip.coverage().isNull());
        QVERIFY(strip.reason().startsWith(
            QStringLiteral("This font has no outlines FreeType can draw: ")));

        box->click();
        QVERIFY(strip.isHidden());
        QCOMPARE(pane->viewport()->geometry().top(), pane->frameWidth());
    }

    // A sample taller than its strip is painted whole at a smaller scale, not cut at the
    // strip's bottom edge: its ink ends about as far right as the scale makes it.
    void aSampleTallerThanItsStripIsShownWholeAndSmaller() {
        drawing::SampleDrawing tall;
        tall.image = {.width = 200, .height = 100, .pixels = std::vector<std::uint8_t>(20000, 255)};
        app::SampleStrip strip(nullptr);
        strip.setDrawing(tall);
        strip.resize(400, 56); // room for 50 of the image's 100 rows
        const QImage shot = strip.grab().toImage();
        const QRgb paper = shot.pixel(shot.width() - 1, 0);
        int inkEnd = 0;
        for (int x = 0; x < shot.width(); ++x) {
            if (shot.pixel(x, shot.height() / 2) != paper) {
                inkEnd = x + 1;
            }
        }
        QVERIFY2(inkEnd > 90 && inkEnd < 110, qPrintable(QString::number(inkEnd)));
    }

    void selectingOpenTypeAndCollectionFilesShowsTheirReports() {
        testsupport::TempDir dir;
        dir.write("a.otf", testsupport::openTypeFont(testsupport::trueTypeFontNamed(u"Open Face")));
        dir.write("b.ttc", testsupport::fontCollection(
                               {.fonts = {testsupport::trueTypeFontNamed(u"First Face"),
                                          testsupport::trueTypeFontNamed(u"Second Face")}}));
        Window window(dir.str());
        window.form.setFontTypeText(QStringLiteral(
            "All font types (*.ttf;*.otf;*.ttc;*.otc;*.dfont;*.woff;*.woff2;*.pfb;*.pfa;*.t1)"));

        const auto records = [&dir](const char* file, const char* fullName) {
            return QStringLiteral("NAME Table Info for %1\n"
                                  "Name Records | 1\n"
                                  "Win Unicode ENU Full Font Name | %2\n")
                .arg(QString::fromStdString(joined(dir, file)), QString::fromLatin1(fullName));
        };
        QCOMPARE(window.details(), records("a.otf", "Open Face"));
        window.files()->setSelectedIndex(1);
        QCOMPARE(window.details(), "Font 1 of 2\n" + records("b.ttc", "First Face") +
                                       "Font 2 of 2\n" + records("b.ttc", "Second Face"));
    }

    void selectedFileDeletedShowsNotFoundAndListIsReadAgain() {
        testsupport::TempDir dir;
        dir.write("a.ttf", testsupport::trueTypeFontNamed(u"Alpha"));
        dir.write("b.ttf", testsupport::trueTypeFontNamed(u"Beta"));
        Window window(dir.str());
        window.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window.form));
        std::filesystem::remove(dir.path() / "b.ttf");

        auto* list = window.files();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, window.row(1).center());
        QCOMPARE(window.form.state().FontPath, joined(dir, "b.ttf"));
        QCOMPARE(window.details(),
                 QStringLiteral("File not found. Fonts in directory may have been moved while "
                                "app was open.\nIf problem persists, please report to "
                                "support@quillvane.example.org . Thanks!"));
        QCOMPARE(window.entries(), QStringList{"a.ttf"});
    }

    void copyRenameCountsDownAndFinishes() {
        testsupport::TempDir dir;
        dir.write("a.ttf", testsupport::trueTypeFontNamed(u"Garamond Bold"));
        dir.write("b.ttf", testsupport::trueTypeFontNamed(u"Futura Bk BT 1.0"));
        dir.write("c.pfb", testsupport::pfbFont(testsupport::typicalClearText("Courier Bold")));
        dir.write("c.pfm", "metrics");
        Window window(dir.str());
        window.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window.form));
        window.control<QRadioButton>("optnSpaces_2")->click();

        QStringList titles;
        connect(&window.form, &QWidget::windowTitleChanged, this,
                [&titles](const QString& title) { titles << title; });
        QTest::mouseClick(window.button("RenameFonts"), Qt::LeftButton);

        QCOMPARE(titles, (QStringList{"Quillvane - 2 fonts left", "Quillvane - 1 font left",
                                      "Quillvane - 0 fonts left", "Quillvane"}));

        // With the interval of the real window (here one no run reaches), the first title is
        // handed over and then only the latest one, before the closing message.
        Window throttled(dir.str(), std::chrono::hours(1));
        QStringList few;
        connect(&throttled.form, &QWidget::windowTitleChanged, this,
                [&few](const QString& title) { few << title; });
        throttled.messages.answers.push_back(fontlist::Answer::Yes); // friendly/ exists now
        throttled.form.RenameFonts_Click();
        QCOMPARE(few, (QStringList{"Quillvane - 2 fonts left", "Quillvane"}));
        QCOMPARE(throttled.messages.shown.back().text, std::string("Finished."));
        QCOMPARE(window.messages.shown.size(), std::size_t{1});
        QCOMPARE(window.messages.shown[0].title, std::string("Font Copy and Renaming"));
        QCOMPARE(window.messages.shown[0].text, std::string("Finished."));
        for (const char* copy :
             {"GaramondBold.ttf", "FuturaBkBT10.ttf", "CourierBold.pfb", "CourierBold.pfm"}) {
            QVERIFY2(std::filesystem::exists(dir.path() / "friendly" / copy), copy);
        }
        // The directory list was read again and shows the new directory.
        QCOMPARE(window.directories()
                     ->findItems(QStringLiteral("friendly"), Qt::MatchExactly | Qt::MatchRecursive)
                     .size(),
                 1);

        // A second run finds the directory: the question comes first; No ends the run.
        window.messages.answers.push_back(fontlist::Answer::No);
        window.form.RenameFonts_Click();
        QCOMPARE(window.messages.shown.size(), std::size_t{2});
        QCOMPARE(window.messages.shown[1].buttons, fontlist::Buttons::YesNoCancel);
        QVERIFY(window.messages.shown[1].text.find("will be overwitten") != std::string::npos);
    }

    // Every type of the last filter entry, each named after its (first) font: the copies keep
    // the source's extension in lower case, and the HTML list sorts them all by name.
    void bothButtonsTakeEveryFontTypeUnderAllFontTypes() {
        using testsupport::trueTypeFontNamed;
        testsupport::TempDir dir;
        dir.write("a.ttf", trueTypeFontNamed(u"Echo Sans"));
        dir.write("b.pfb", testsupport::pfbFont(testsupport::typicalClearText("Delta Serif")));
        dir.write("b.pfm", "metrics");
        dir.write("c.otf", testsupport::openTypeFont(trueTypeFontNamed(u"Charlie Open")));
        dir.write("d.ttc",
                  testsupport::fontCollection({.fonts = {trueTypeFontNamed(u"Bravo First"),
                                                         trueTypeFontNamed(u"Zulu Second")}}));
        const std::string otc = dir.write(
            "X.OTC", testsupport::fontCollection({.fonts = {trueTypeFontNamed(u"Alpha Other"),
                                                            trueTypeFontNamed(u"Yankee")}}));
        Window window(dir.str());
        window.form.setFontTypeText(QStringLiteral(
            "All font types (*.ttf;*.otf;*.ttc;*.otc;*.dfont;*.woff;*.woff2;*.pfb;*.pfa;*.t1)"));

        QTest::mouseClick(window.button("CreateHTMLFontList"), Qt::LeftButton);
        const auto link = [&dir](const char* file, const char* name) {
            return "<A HREF=\"" + dir.file(file) + "\">" + name + "</A><BR>\r\n";
        };
        QCOMPARE(testsupport::readFile(dir.file("_fonts.html")),
                 "<HTML>\r\n<META CHARSET=\"UTF-8\">\r\n" + link("X.OTC", "Alpha Other") +
                     link("d.ttc", "Bravo First") + link("c.otf", "Charlie Open") +
                     link("b.pfb", "Delta Serif") + link("a.ttf", "Echo Sans") + "</HTML>\r\n");

        QTest::mouseClick(window.button("RenameFonts"), Qt::LeftButton);
        QCOMPARE(window.messages.shown.size(), std::size_t{2});
        QCOMPARE(window.messages.shown[1].text, std::string("Finished."));
        QStringList copies;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path() / "friendly")) {
            copies << QString::fromStdString(entry.path().filename().string());
        }
        copies.sort();
        QCOMPARE(copies, (QStringList{"Alpha Other.otc", "Bravo First.ttc", "Charlie Open.otf",
                                      "Delta Serif.pfb", "Delta Serif.pfm", "Echo Sans.ttf"}));
        QCOMPARE(testsupport::readFile(dir.file("friendly/Alpha Other.otc")),
                 testsupport::readFile(otc));
    }

    void htmlListThatCannotBeWrittenIsReportedAndTheWindowStaysUsable() {
        testsupport::TempDir dir;
        dir.write("a.ttf", testsupport::trueTypeFontNamed(u"Alpha"));
        dir.write("b.ttf", testsupport::trueTypeFontNamed(u"Beta"));
        // A directory stands where the report would go.
        std::filesystem::create_directory(dir.path() / "_report.txt");
        Window window(dir.str());
        QTest::mouseClick(window.button("CreateHTMLFontList"), Qt::LeftButton);

        QCOMPARE(window.messages.shown.size(), std::size_t{1});
        QVERIFY(window.messages.shown[0].text.starts_with("Path/File access error\r\n\r\n"));
        QCOMPARE(window.messages.shown[0].icon, fontlist::MessageIcon::Critical);
        QCOMPARE(window.form.windowTitle(), QStringLiteral("Quillvane"));
        QVERIFY(window.form.isEnabled());
        QVERIFY(window.batchButtonsEnabled());
        // The window goes on working: another file is selected and reported.
        window.files()->setSelectedIndex(1);
        QVERIFY(window.details().contains(QStringLiteral("Full Font Name | Beta")));
    }

    void batchButtonsRefuseEmptyList() {
        testsupport::TempDir dir;
        dir.write("a.ttf", testsupport::trueTypeFontNamed(u"Alpha"));
        Window window(dir.str());
        std::filesystem::remove(dir.path() / "a.ttf");

        window.form.CreateHTMLFontList_Click();
        QCOMPARE(window.messages.shown.size(), std::size_t{1});
        QCOMPARE(window.messages.shown[0].title, std::string("Create HTML friendly font list"));
        QCOMPARE(window.messages.shown[0].text,
                 std::string("Current directory contains no TrueType fonts."));
        QVERIFY(!window.batchButtonsEnabled());
        QVERIFY(!std::filesystem::exists(dir.path() / "_fonts.html"));
        QVERIFY(!std::filesystem::exists(dir.path() / "friendly"));
    }

    void htmlListWritesBothFilesAndSaysWhere() {
        testsupport::TempDir dir;
        dir.write("a.ttf", testsupport::trueTypeFontNamed(u"Zeta"));
        dir.write("b.ttf", testsupport::trueTypeFontNamed(u"Alpha"));
        Window window(dir.str());
        QTest::mouseClick(window.button("CreateHTMLFontList"), Qt::LeftButton);

        QCOMPARE(testsupport::readFile(dir.file("_fonts.html")),
                 "<HTML>\r\n<META CHARSET=\"UTF-8\">\r\n<A HREF=\"" + dir.file("b.ttf") +
                     "\">Alpha</A><BR>\r\n<A HREF=\"" + dir.file("a.ttf") +
                     "\">Zeta</A><BR>\r\n</HTML>\r\n");
        QVERIFY(std::filesystem::exists(dir.path() / "_report.txt"));
        QCOMPARE(window.messages.shown.size(), std::size_t{1});
        QCOMPARE(window.messages.shown[0].text,
                 "Created " + dir.file("_fonts.html") +
                     "\r\n\r\nAny possible font duplication issues can be found in\r\n" +
                     dir.file("_report.txt"));
        QCOMPARE(window.form.windowTitle(), QStringLiteral("Quillvane"));
    }

    // With "Font samples" on, the HTML list writes the specimen page too and says where; off,
    // it does not, and says what it always said.
    void htmlListWritesTheSamplesPageOnlyWithFontSamples_data() {
        QTest::addColumn<bool>("samples");
        QTest::newRow("off") << false;
        QTest::newRow("on") << true;
    }
    void htmlListWritesTheSamplesPageOnlyWithFontSamples() {
        QFETCH(bool, samples);
        testsupport::TempDir dir;
        dir.write("a.ttf", testsupport::trueTypeFontNamed(u"Zeta"));
        dir.write("b.ttf", testsupport::trueTypeFontNamed(u"Alpha"));
        Window window(dir.str());
        window.control<QCheckBox>("chkFontSamples")->setChecked(samples);
        QTest::mouseClick(window.button("CreateHTMLFontList"), Qt::LeftButton);

        const std::string specimens = dir.file("_specimens.html");
        QCOMPARE(std::filesystem::exists(specimens), samples);
        std::string said = "Created " + dir.file("_fonts.html") +
                           "\r\n\r\nAny possible font duplication issues can be found in\r\n" +
                           dir.file("_report.txt");
        if (samples) {
            said += "\r\n\r\nEvery font is shown in its own face in\r\n" + specimens;
            const std::string page = testsupport::readFile(specimens);
            const std::size_t alpha = page.find("data-name=\"Alpha\"");
            QVERIFY(alpha != std::string::npos);
            QVERIFY(page.find("data-name=\"Zeta\"") > alpha);
        }
        QCOMPARE(window.messages.shown.size(), std::size_t{1});
        QCOMPARE(window.messages.shown[0].text, said);
    }

    // A close during a run asks whether to stop: Yes stops after the font in hand and closes
    // the window after the closing message; No lets the run finish and keeps the window.
    void closingDuringRunAsksToStop_data() {
        QTest::addColumn<bool>("stop");
        QTest::newRow("yes") << true;
        QTest::newRow("no") << false;
    }
    void closingDuringRunAsksToStop() {
        QFETCH(bool, stop);
        testsupport::TempDir dir;
        dir.write("a.ttf", testsupport::trueTypeFontNamed(u"Alpha"));
        dir.write("b.ttf", testsupport::trueTypeFontNamed(u"Beta"));
        Window window(dir.str());
        window.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window.form));
        window.messages.answers.push_back(stop ? fontlist::Answer::Yes : fontlist::Answer::No);
        bool visibleAtEnd = false;
        connect(&window.form, &QWidget::windowTitleChanged, this,
                [&window, &visibleAtEnd](const QString& title) {
                    if (title == QStringLiteral("Quillvane - 1 font left")) {
                        window.form.close();
                    }
                    if (title == QStringLiteral("Quillvane")) {
                        visibleAtEnd = window.form.isVisible();
                    }
                });
        window.form.RenameFonts_Click();
        QVERIFY(visibleAtEnd);
        QCOMPARE(window.messages.shown.size(), std::size_t{2});
        QCOMPARE(window.messages.shown[0].text, std::string("Stop after the current font?"));
        QCOMPARE(window.messages.shown[0].buttons, fontlist::Buttons::YesNo);
        QCOMPARE(window.messages.shown[1].text,
                 std::string(stop ? "Stopped after 1 of 2 fonts." : "Finished."));
        QCOMPARE(window.form.isVisible(), !stop);
        QVERIFY(std::filesystem::exists(dir.path() / "friendly" / "Alpha.ttf"));
        QCOMPARE(std::filesystem::exists(dir.path() / "friendly" / "Beta.ttf"), !stop);
    }

    // Escape in the window during a run asks whether to stop; the batch buttons are off while
    // the run holds the window, and on again after it.
    void escapeDuringRunAsksToStop_data() {
        QTest::addColumn<bool>("stop");
        QTest::addColumn<bool>("html");
        QTest::newRow("copy, yes") << true << false;
        QTest::newRow("copy, no") << false << false;
        QTest::newRow("html, yes") << true << true;
    }
    void escapeDuringRunAsksToStop() {
        QFETCH(bool, stop);
        QFETCH(bool, html);
        testsupport::TempDir dir;
        for (const char* name : {"a.ttf", "b.ttf", "c.ttf"}) {
            dir.write(name, testsupport::trueTypeFontNamed(u"Font " + std::u16string(1, name[0])));
        }
        Window window(dir.str());
        window.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window.form));
        window.messages.answers.push_back(stop ? fontlist::Answer::Yes : fontlist::Answer::No);
        std::vector<bool> buttonsWhileShown;
        window.messages.whileShown = [&](const fontlist::UserMessage&) {
            buttonsWhileShown.push_back(window.batchButtonsEnabled());
        };
        connect(&window.form, &QWidget::windowTitleChanged, this, [&window](const QString& title) {
            if (title == QStringLiteral("Quillvane - 2 fonts left")) {
                // As the window system hands it over: to the window's surface.
                QCoreApplication::postEvent(
                    window.form.windowHandle(),
                    new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
            }
        });
        QTest::mouseClick(window.button(html ? "CreateHTMLFontList" : "RenameFonts"),
                          Qt::LeftButton);

        QCOMPARE(window.messages.shown.size(), std::size_t{2});
        QCOMPARE(window.messages.shown[0].text, std::string("Stop after the current font?"));
        QCOMPARE(buttonsWhileShown, (std::vector<bool>{false, false}));
        QVERIFY(window.batchButtonsEnabled());
        QCOMPARE(window.form.windowTitle(), QStringLiteral("Quillvane"));
        QVERIFY(window.form.isVisible());
        const std::string& closing = window.messages.shown[1].text;
        if (html) {
            QVERIFY2(closing.starts_with("Stopped after 1 of 3 fonts.\r\n\r\nThe list was not"),
                     closing.c_str());
            QVERIFY(!std::filesystem::exists(dir.path() / "_fonts.html"));
            return;
        }
        QCOMPARE(closing, std::string(stop ? "Stopped after 1 of 3 fonts." : "Finished."));
        QCOMPARE(std::filesystem::exists(dir.path() / "friendly" / "Font b.ttf"), !stop);
        QVERIFY(std::filesystem::exists(dir.path() / "friendly" / "Font a.ttf"));
    }

    // The frame's close button during a run: the window system's request is held back while
    // the run takes no input, and must not be lost under the run's closing message.
    void closeFromTheWindowSystemDuringRunIsCarriedOutAfterIt() {
#ifndef QUILLVANE_HAVE_QPA
        QSKIP("needs Qt's window-system interface headers (Debian: qt6-base-private-dev)");
#else
        testsupport::TempDir dir;
        dir.write("a.ttf", testsupport::trueTypeFontNamed(u"Alpha"));
        dir.write("b.ttf", testsupport::trueTypeFontNamed(u"Beta"));
        ClosedBoxes boxes;
        Form1 form(Form1::Services{dir.str(), {}, &boxes});
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        connect(&form, &QWidget::windowTitleChanged, this, [&form](const QString& title) {
            if (title == QStringLiteral("Quillvane - 1 font left")) {
                QWindowSystemInterface::handleCloseEvent(form.windowHandle());
            }
        });
        form.RenameFonts_Click();
        // The question's default button (Yes) stops the run.
        QCOMPARE(boxes.texts, (std::vector<std::string>{"Stop after the current font?",
                                                        "Stopped after 1 of 2 fonts."}));
        QVERIFY(std::filesystem::exists(dir.path() / "friendly" / "Alpha.ttf"));
        QVERIFY(!std::filesystem::exists(dir.path() / "friendly" / "Beta.ttf"));
        QTRY_VERIFY(!form.isVisible());
#endif
    }

    // Names that are not UTF-8 are kept as the system's bytes from the listing to every use;
    // only what is shown is decoded.
    void latin1NamesAreListedShownAndReportedByTheirBytes() {
        testsupport::TempDir dir;
        const std::string folder = writeLatin1Fonts(dir);
        Window window(folder);

        QCOMPARE(window.directories()->path(), folder);
        QCOMPARE(window.files()->entry(0), std::string(latin1Font));
        QCOMPARE(window.files()->entry(1), std::string("z.ttf"));
        QCOMPARE(window.rowText(0), QStringLiteral("caf\uFFFD.ttf"));
        QCOMPARE(window.directories()->currentItem()->text(0), QStringLiteral("d\uFFFDj\uFFFD"));
        QCOMPARE(window.form.state().FontPath, folder + "/" + latin1Font);
        QVERIFY(window.details().contains(QStringLiteral("Full Font Name | Cafe Sans\n")));
    }

    void latin1NamesAreCopiedUnderTheirFullNames() {
        testsupport::TempDir dir;
        const std::string folder = writeLatin1Fonts(dir);
        Window window(folder);
        window.form.RenameFonts_Click();

        QCOMPARE(window.messages.shown.size(), std::size_t{1});
        QCOMPARE(window.messages.shown[0].text, std::string("Finished."));
        for (const char* copy : {"Cafe Sans.ttf", "Zeta Serif.ttf"}) {
            QVERIFY2(std::filesystem::exists(std::filesystem::path(folder) / "friendly" / copy),
                     copy);
        }
    }

    void latin1NamesAreInTheHtmlList() {
        testsupport::TempDir dir;
        const std::string folder = writeLatin1Fonts(dir);
        Window window(folder);
        window.form.CreateHTMLFontList_Click();

        const std::string page = testsupport::readFile(folder + "/_fonts.html");
        QVERIFY(page.find("\">Cafe Sans</A><BR>") != std::string::npos);
        QVERIFY(page.find("\">Zeta Serif</A><BR>") != std::string::npos);
        QVERIFY(page.find("rror") == std::string::npos);
        QCOMPARE(window.messages.shown.size(), std::size_t{1});
        QVERIFY(window.messages.shown[0].text.starts_with("Created "));
    }

    void latin1DirectoryIsListedAndOpened() {
        testsupport::TempDir dir;
        const std::string folder = writeLatin1Fonts(dir);
        Window window(dir.str());

        auto* tree = window.directories();
        const auto found = tree->findItems(QStringLiteral("d\uFFFDj\uFFFD"),
                                           Qt::MatchExactly | Qt::MatchRecursive);
        QCOMPARE(found.size(), 1);
        emit tree->itemActivated(found.first(), 0);
        QCOMPARE(tree->path(), folder);
        QCOMPARE(window.files()->path(), folder);
        QCOMPARE(window.entries().size(), 2);
        QCOMPARE(window.form.state().FontPath, folder + "/" + latin1Font);
    }

    void startsInLatin1CurrentDirectory() {
        testsupport::TempDir dir;
        const std::string folder = writeLatin1Fonts(dir);
        const CurrentDirectory current(folder);
        Window window(std::string{});

        QCOMPARE(window.directories()->path(), folder);
        QCOMPARE(window.files()->entry(0), std::string(latin1Font));
    }

    void realMessageBoxesCarryTitleButtonsAndIcon() {
        QWidget parent;
        app::QtMessagePresenter presenter(&parent);
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString title;
        QString text;
        QMessageBox::StandardButtons buttons;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            icon = box->icon();
            title = box->windowTitle();
            text = box->text();
            buttons = box->standardButtons();
            box->button(QMessageBox::No)->click();
        });
        const fontlist::Answer answer =
            presenter.show({"Font Copy and Renaming", "Line one\r\nLine two",
                            fontlist::Buttons::YesNoCancel, fontlist::MessageIcon::Warning});
        QCOMPARE(answer, fontlist::Answer::No);
        QCOMPARE(icon, QMessageBox::Warning);
        QCOMPARE(title, QStringLiteral("Font Copy and Renaming"));
        QCOMPARE(text, QStringLiteral("Line one\nLine two"));
        QCOMPARE(buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);

        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            icon = box->icon();
            buttons = box->standardButtons();
            box->button(QMessageBox::Ok)->click();
        });
        QCOMPARE(presenter.show({"About Quillvane", "text", fontlist::Buttons::Ok,
                                 fontlist::MessageIcon::None}),
                 fontlist::Answer::Ok);
        QCOMPARE(icon, QMessageBox::NoIcon);
        QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));

        // A short text under a long title: room for the whole title in the title bar's font
        // beside the window icon and the minimise, maximise and close buttons.
        const QString longTitle = QStringLiteral("Create HTML File With Friendly Font Names");
        int width = 0;
        QTimer::singleShot(0, [&width] {
            width = QApplication::activeModalWidget()->width();
            QApplication::activeModalWidget()->close();
        });
        presenter.show({longTitle.toStdString(), "Finished.", fontlist::Buttons::Ok,
                        fontlist::MessageIcon::None});
        const int needed = QFontMetrics(QFontDatabase::systemFont(QFontDatabase::TitleFont))
                               .horizontalAdvance(longTitle) +
                           4 * QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight);
        QVERIFY2(width >= needed, qPrintable(QStringLiteral("%1 < %2").arg(width).arg(needed)));
    }

    // Every control is whole inside the window at its start size and covers no other one; the
    // option buttons are whole inside their frame and apart.
    void controlsLieApartInsideTheWindow() {
        testsupport::TempDir dir;
        Window window(dir.str());
        const auto apart = [](const QList<QWidget*>& controls, const QRect& area) {
            for (qsizetype i = 0; i < controls.size(); ++i) {
                const QRect place = controls[i]->geometry();
                QVERIFY2(area.contains(place), qPrintable(controls[i]->objectName()));
                for (qsizetype j = 0; j < i; ++j) {
                    QVERIFY2(!place.intersects(controls[j]->geometry()),
                             qPrintable(controls[i]->objectName() + QStringLiteral(" covers ") +
                                        controls[j]->objectName()));
                }
            }
        };
        const QList<QWidget*> controls =
            window.form.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        QCOMPARE(controls.size(), 11);
        apart(controls, window.form.rect());
        auto* frame = window.control<QGroupBox>("Frame1");
        const QList<QWidget*> options = frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        QCOMPARE(options.size(), 3);
        apart(options, frame->contentsRect());
    }

    void captionsAndHints() {
        testsupport::TempDir dir;
        Window window(dir.str());
        QCOMPARE(window.form.windowTitle(), QStringLiteral("Quillvane"));
        QVERIFY(!window.form.windowIcon().isNull());
        QCOMPARE(window.button("CreateHTMLFontList")->text(),
                 QStringLiteral("Create HTML Font list"));
        QCOMPARE(window.button("RenameFonts")->text(), QStringLiteral("Copy/Rename Fonts"));
        QCOMPARE(window.button("Command1")->text(), QStringLiteral("About"));
        auto* frame = window.control<QGroupBox>("Frame1");
        QCOMPARE(frame->title(), QStringLiteral("Spaces in Font Names"));
        QCOMPARE(frame->toolTip(),
                 QStringLiteral("This will not affect the original font filename"));
        QCOMPARE(window.control<QRadioButton>("optnSpaces_1")->text(),
                 QStringLiteral("Replace with \"-\""));
        // The core's type filters in their order; typeFilterSetsPattern pins their texts.
        auto* combo = window.control<QComboBox>("cmbFontType");
        const std::vector<fontlist::TypeFilter>& filters = fontlist::typeFilters();
        QCOMPARE(combo->count(), static_cast<int>(filters.size()));
        int widest = 0;
        for (int i = 0; i < combo->count(); ++i) {
            QCOMPARE(combo->itemText(i).toStdString(),
                     filters.at(static_cast<std::size_t>(i)).entry);
            // Entries longer than the box: each has its whole text as a tooltip.
            QCOMPARE(combo->itemData(i, Qt::ToolTipRole).toString(), combo->itemText(i));
            widest = std::max(widest,
                              combo->view()->fontMetrics().horizontalAdvance(combo->itemText(i)));
        }
        QVERIFY(!combo->isEditable());
        // The open list shows the longest entry whole.
        window.form.show();
        combo->showPopup();
        QVERIFY(combo->view()->viewport()->width() > widest);
        combo->hidePopup();
        auto* pane = window.control<QPlainTextEdit>("FontDetails");
        QVERIFY(pane->isReadOnly());
        QCOMPARE(pane->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(pane->palette().color(QPalette::Base), pane->palette().color(QPalette::Midlight));
    }

    // Tab walks the controls in the layout's order, the spaces options as one stop, and wraps;
    // the focus shows on each.
    void tabKeyVisitsTheControlsInOrder() {
        testsupport::TempDir dir;
        dir.write("a.ttf", "x"); // so that the batch buttons take the focus
        Window window(dir.str());
        window.form.show();
        QVERIFY(QTest::qWaitForWindowActive(&window.form));
        window.button("CreateHTMLFontList")->setFocus(Qt::TabFocusReason);
        QStringList visited{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 11; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            const QString focus = QApplication::focusWidget()->objectName();
            visited << focus;
            // The lists and the pane, which show no focus of their own, wear a ring while
            // they have it, and only then.
            for (const QString control : {"Dir1", "File1", "FontDetails"}) {
                auto* ring = window.form.findChild<QWidget*>(control + "FocusRing");
                QVERIFY(ring != nullptr);
                QCOMPARE(ring->isVisible(), focus == control);
            }
        }
        QCOMPARE(visited,
                 (QStringList{"CreateHTMLFontList", "Drive1", "Dir1", "File1", "RenameFonts",
                              "FontDetails", "Command1", "chkReadableNames", "chkFontSamples",
                              "optnSpaces_0", "cmbFontType", "CreateHTMLFontList"}));
    }

    void resizeKeepsMinimumAndStretchesPane() {
        testsupport::TempDir dir;
        Window window(dir.str());
        window.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window.form));
        auto* pane = window.control<QPlainTextEdit>("FontDetails");
        const QRect buttonBefore = window.button("RenameFonts")->geometry();
        // Shown, the window keeps the client size it starts with (7935 x 5535 twips), though
        // its outer size is below the minimum that holds for every other size.
        QCOMPARE(window.form.size(), QSize(529, 369));

        // Too small both ways: both spring back to the minimum outer size (8100 x 5900 twips).
        window.form.resize(100, 100);
        QTRY_COMPARE(window.form.frameGeometry().size(), QSize(540, 394));
        // Too narrow only: the width springs back, the height the user gave stays.
        window.form.resize(200, 500);
        QTRY_COMPARE(window.form.frameGeometry().width(), 540);
        QCOMPARE(window.form.size().height(), 500);
        // Large enough: untouched, and the pane fills the width and reaches the bottom.
        window.form.resize(900, 700);
        QTRY_COMPARE(window.form.size(), QSize(900, 700));
        QCOMPARE(pane->geometry(), QRect(1, 216, 900, 700 - 216));
        QCOMPARE(window.button("RenameFonts")->geometry(), buttonBefore);

        // Minimising and restoring neither fails nor changes the restored size.
        window.form.showMinimized();
        QTest::qWait(20);
        window.form.showNormal();
        QTRY_COMPARE(window.form.size(), QSize(900, 700));
    }

    void aboutTextTakesVersionNumbers_data() {
        QTest::addColumn<uint>("major");
        QTest::addColumn<uint>("minor");
        QTest::addColumn<uint>("revision");
        QTest::addColumn<QString>("versionLine");
        QTest::newRow("release") << 1u << 1u << 0u << "version 1.1.0";
        QTest::newRow("multi-digit") << 2u << 10u << 15u << "version 2.10.15";
        QTest::newRow("zeros") << 0u << 0u << 0u << "version 0.0.0";
    }
    void aboutTextTakesVersionNumbers() {
        QFETCH(uint, major);
        QFETCH(uint, minor);
        QFETCH(uint, revision);
        QFETCH(QString, versionLine);
        const QString text = QString::fromStdString(app::aboutText(major, minor, revision));
        const QStringList lines = text.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines[0], QStringLiteral("Quillvane"));
        QCOMPARE(lines[1], versionLine);
        QCOMPARE(lines[2], QStringLiteral(" "));
        QVERIFY(!lines[3].isEmpty());
        QVERIFY(lines[4].contains(QStringLiteral("MIT License")));
        QVERIFY(!text.endsWith(QStringLiteral("\r\n")));
        QCOMPARE(text.count(QLatin1Char('\n')), 4); // no line break but the four CR LF
    }

    void aboutButtonShowsAboutBox() {
        testsupport::TempDir dir;
        Window window(dir.str());
        QTest::mouseClick(window.button("Command1"), Qt::LeftButton);
        QCOMPARE(window.messages.shown.size(), std::size_t{1});
        const fontlist::UserMessage& message = window.messages.shown.front();
        QCOMPARE(message.title, std::string("About Quillvane"));
        QCOMPARE(message.buttons, fontlist::Buttons::Ok);
        QCOMPARE(message.icon, fontlist::MessageIcon::None);
        QCOMPARE(message.text,
                 app::aboutText(app::version::major, app::version::minor, app::version::revision));
        QVERIFY(message.text.find("version 1.1.0\r\n") != std::string::npos);
    }

    void windowsDirectoryIsLowerCased_data() {
        QTest::addColumn<QString>("reported");
        QTest::addColumn<QString>("windowsDir");
        QTest::addColumn<QString>("fontsDir");
        QTest::newRow("classic") << "C:\\WINNT"
                                 << "c:\\winnt"
                                 << "c:\\winnt/fonts/";
        QTest::newRow("latin-1") << "/Système"
                                 << "/système"
                                 << "/système/fonts/";
        QTest::newRow("failed call") << ""
                                     << ""
                                     << "/fonts/";
    }
    void windowsDirectoryIsLowerCased() {
        QFETCH(QString, reported);
        QFETCH(QString, windowsDir);
        QFETCH(QString, fontsDir);
        testsupport::TempDir dir;
        Window window(dir.str(), [reported] { return reported.toStdString(); });
        QCOMPARE(QString::fromStdString(window.form.state().WindowsDir), windowsDir);
        QCOMPARE(QString::fromStdString(window.form.state().FontsDir), fontsDir);
    }

    void windowsDirectoryOfThisSystem() {
        testsupport::TempDir dir;
        Window window(dir.str());
        QCOMPARE(window.form.state().WindowsDir, std::string("/usr/share"));
        QCOMPARE(window.form.state().FontsDir, std::string("/usr/share/fonts/"));
    }

    void choosingDriveReturnsToItsLastDirectory() {
        testsupport::TempDir dir;
        dir.write("a.ttf", "x");
        const QString home = QStorageInfo(QString::fromStdString(dir.str())).rootPath();
        QString other;
        for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
            if (volume.isReady() && volume.rootPath() != home &&
                QDir(volume.rootPath()).isReadable() && QFileInfo(volume.rootPath()).isDir()) {
                other = volume.rootPath();
                break;
            }
        }
        if (other.isEmpty()) {
            QSKIP("needs a second mounted volume");
        }
        Window window(dir.str());
        auto* drives = window.control<QComboBox>("Drive1");
        const auto choose = [drives](const QString& root) {
            const int index = drives->findData(root);
            QVERIFY(index >= 0);
            drives->setCurrentIndex(index);
            emit drives->activated(index);
        };

        // A volume not visited yet opens at its root; going back returns to the directory
        // that was current there.
        choose(other);
        QCOMPARE(window.directories()->path(), QDir::toNativeSeparators(other).toStdString());
        QCOMPARE(window.files()->path(), QDir::toNativeSeparators(other).toStdString());
        choose(home);
        QCOMPARE(window.directories()->path(), dir.str());
        QCOMPARE(window.form.state().FontPath, joined(dir, "a.ttf"));
        QVERIFY(window.batchButtonsEnabled());
    }

    void driveListShowsVolumeOfStartDirectory() {
        testsupport::TempDir dir;
        Window window(dir.str());
        auto* drives = window.control<QComboBox>("Drive1");
        QVERIFY(drives->count() >= 1);
        const QString root = drives->currentData().toString();
        QVERIFY(!root.isEmpty());
        QVERIFY(QString::fromStdString(dir.str()).startsWith(root));
    }
};

QTEST_MAIN(Form1Test)
#include "Form1Test.moc"
