#include "app/Form1.h"

#include "app/AboutText.h"
#include "app/AccessibleNames.h"
#include "app/BatchWiring.h"
#include "app/DetailsPane.h"
#include "app/DirectoryList.h"
#include "app/DriveList.h"
#include "app/FileList.h"
#include "app/FocusRing.h"
#include "app/Form1Layout.h"
#include "app/NamedComboBoxAccessible.h"
#include "app/PlainText.h"
#include "app/QtMessagePresenter.h"
#include "app/QuillvaneVersion.h"
#include "app/SystemPaths.h"
#include "app/Twips.h"
#include "app/WindowConversation.h"
#include "app/WindowIcon.h"
#include "fontlist/FontTypes.h"
#include "fontlist/HiddenFontsHint.h"
#include "fontlist/ProgramName.h"
#include "fontlist/ReadableNames.h"
#include "fontlist/SystemDirectories.h"
#include "platform/PathText.h"
#include "platform/SharedDirectoryReads.h"
#include "platform/SystemFontRoot.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFont>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QSignalBlocker>
#include <QStorageInfo>

#include <initializer_list>
#include <optional>

namespace app {

Form1::Form1(Services services, QWidget* parent)
    : QWidget(parent), services_(std::move(services)),
      readableNames_(fontlist::readableNamesIn(QLocale::system().name().toStdString())) {
    if (!services_.systemFontRoot) {
        services_.systemFontRoot = platform::systemFontRoot;
    }
    if (services_.messages != nullptr) {
        messages_ = services_.messages;
    } else {
        ownMessages_ = std::make_unique<QtMessagePresenter>(this);
        messages_ = ownMessages_.get();
    }

    NamedComboBoxAccessible::install();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromStdString(std::string(fontlist::kProgramName)));
    setWindowIcon(quillvaneIcon());
    // The layout was drawn for a small 8-point dialog font; with the larger desktop default
    // the longer captions would be clipped.
    QFont dialogFont = font();
    dialogFont.setPointSizeF(8.0);
    setFont(dialogFont);
    resize(twips::toPixels(layout::clientWidthAtStart),
           twips::toPixels(layout::clientHeightAtStart));
    createControls();
    setTabOrder();
    for (QWidget* control : std::initializer_list<QWidget*>{Dir1, File1, FontDetails}) {
        new FocusRing(*control); // owned by the control
    }
    giveAccessibleNames(*this);
    conversation_ =
        std::make_unique<WindowConversation>(*this, *messages_, services_.progressInterval);
    batch_ = std::make_unique<BatchWiring>(
        BatchWiring::Controls{*File1, *Dir1, *CreateHTMLFontList, *RenameFonts}, *conversation_);

    // Start reads its folder once: the directory list's sub-directories and the file list's
    // fonts come from the same read.
    const platform::SharedDirectoryReads sharedReads;
    Dir1->shareReads(&sharedReads);
    File1->shareReads(&sharedReads);
    // The three browsing controls start on the process's current directory; no handler runs
    // before Form_Load. A start-up directory that cannot be listed falls back to the home
    // directory, then to the root.
    const std::string start =
        services_.startDirectory.empty() ? paths::currentDirectory() : services_.startDirectory;
    if ((start.empty() || !Dir1->initialise(start)) && !Dir1->initialise(paths::homeDirectory())) {
        Dir1->initialise(paths::rootDirectory());
    }
    Drive1->showVolumeOf(Dir1->path());
    File1->setPattern(QString::fromStdString(fontlist::typeFilters().front().patterns));
    File1->setPath(Dir1->path());

    connectHandlers();
    Form_Load();
    Dir1->shareReads(nullptr);
    File1->shareReads(nullptr);
}

Form1::~Form1() = default;

void Form1::connectHandlers() {
    connect(Drive1, &DriveList::changed, this, &Form1::Drive1_Change);
    connect(Dir1, &DirectoryList::changed, this, &Form1::Dir1_Change);
    connect(Dir1, &DirectoryList::refused, this,
            [this](const QString& directory, const QString& reason) {
                tellBrowsingProblem(QStringLiteral("The directory ") + directory +
                                    QStringLiteral(" cannot be opened:\r\n") + reason +
                                    QLatin1Char('.'));
            });
    connect(File1, &FileList::clicked, this, &Form1::File1_Click);
    connect(cmbFontType, &QComboBox::activated, this, [this](int) { cmbFontType_Click(); });
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(RenameFonts, &QPushButton::clicked, this, &Form1::RenameFonts_Click);
    connect(CreateHTMLFontList, &QPushButton::clicked, this, &Form1::CreateHTMLFontList_Click);
    connect(chkReadableNames, &QCheckBox::toggled, this, &Form1::chkReadableNames_Click);
    connect(chkFontSamples, &QCheckBox::toggled, this, &Form1::chkFontSamples_Click);
}

fontlist::SpacesOption Form1::spacesOption() const {
    if (optnSpaces[1]->isChecked()) {
        return fontlist::SpacesOption::ReplaceWithHyphen;
    }
    if (optnSpaces[2]->isChecked()) {
        return fontlist::SpacesOption::Remove;
    }
    return fontlist::SpacesOption::NoChange;
}

fontcore::NameDecoding Form1::nameDecoding() const {
    return chkReadableNames->isChecked() ? readableNames_ : fontcore::NameDecoding::ByteWise;
}

void Form1::Form_Load() {
    EnableButtons();
    // The Windows directory as the system reports it, in lower case; the font directory is
    // looked for inside lower-cased paths, so it is kept in lower case with a trailing separator.
    fontlist::FontFolders folders = fontlist::fontFoldersUnder(services_.systemFontRoot());
    state_.WindowsDir = std::move(folders.root);
    state_.FontsDir = std::move(folders.fonts);
    // The type filter's first choice refreshes the list EnableButtons has just read, with the
    // same patterns: the folder is listed once.
    File1->shareListingWithNextRefresh(true);
    setFontTypeText(QString::fromStdString(fontlist::typeFilters().front().entry));
    File1->shareListingWithNextRefresh(false);
}

void Form1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void Form1::Form_Resize() {
    // A minimised window has no meaningful size; leave the restored size alone.
    if (isMinimized()) {
        return;
    }
    // The start size is the client size the window was drawn for, whatever frame the window
    // manager puts around it (the first resize often comes before the frame is known, when
    // the outer size would be taken for the client's). Any other size keeps the minimum
    // outer size.
    const QSize startSize(twips::toPixels(layout::clientWidthAtStart),
                          twips::toPixels(layout::clientHeightAtStart));
    if (size() != startSize) {
        const QRect outer = frameGeometry();
        const int frameWidth = outer.width() - width();
        const int frameHeight = outer.height() - height();
        if (twips::fromPixels(outer.width()) < layout::minimumOuterWidth) {
            resize(twips::toPixelsAtLeast(layout::minimumOuterWidth) - frameWidth, height());
        }
        if (twips::fromPixels(frameGeometry().height()) < layout::minimumOuterHeight) {
            resize(width(), twips::toPixelsAtLeast(layout::minimumOuterHeight) - frameHeight);
        }
    }
    // The pane keeps its left and top; its width is the client width less one twip, its bottom
    // one twip above the bottom of the client area.
    const int clientWidth = twips::fromPixels(width());
    const int clientHeight = twips::fromPixels(height());
    FontDetails->setGeometry(twips::toPixels(layout::detailsLeft),
                             twips::toPixels(layout::detailsTop),
                             twips::toPixels(std::max(0, clientWidth - 1)),
                             twips::toPixels(std::max(0, clientHeight - layout::detailsTop - 1)));
}

void Form1::closeEvent(QCloseEvent* event) {
    // During a batch run the close asks the run to stop, and waits for its end.
    if (conversation_->deferClose()) {
        event->ignore();
        return;
    }
    event->accept();
}

void Form1::Drive1_Change() {
    const QString root = Drive1->drive();
    QStorageInfo volume(root);
    volume.refresh();
    if (!volume.isValid() || !volume.isReady()) {
        tellBrowsingProblem(QStringLiteral("The drive ") + QDir::toNativeSeparators(root) +
                            QStringLiteral(" is not ready."));
        Drive1->showVolumeOf(Dir1->path());
        return;
    }
    if (!Dir1->setDrive(root)) {
        // Dir1 has told the user why; the lists stay where they were.
        Drive1->showVolumeOf(Dir1->path());
    }
}

void Form1::Dir1_Change() {
    Drive1->showVolumeOf(Dir1->path());
    File1->setPath(Dir1->path());
    EnableButtons();
}

void Form1::setFontTypeText(const QString& itemText) {
    const int index = cmbFontType->findText(itemText);
    if (index < 0) {
        return;
    }
    {
        const QSignalBlocker blocker(cmbFontType);
        cmbFontType->setCurrentIndex(index);
    }
    cmbFontType_Click();
}

void Form1::cmbFontType_Click() {
    // The item's patterns, which its text shows in parentheses.
    File1->setPattern(cmbFontType->currentData().toString());
    File1->refresh();
    EnableButtons();
}

void Form1::EnableButtons() {
    if (File1->entryCount() > 0) {
        File1->setSelectedIndex(0);
        CreateHTMLFontList->setEnabled(true);
        RenameFonts->setEnabled(true);
    } else {
        CreateHTMLFontList->setEnabled(false);
        RenameFonts->setEnabled(false);
        FontDetails->hideSample();
        showHiddenFontsHint();
    }
}

// An empty list whose folder holds fonts of the other types says so in the pane (its text only:
// the state still names the file it showed).
void Form1::showHiddenFontsHint() {
    if (const std::optional<std::string> hint =
            fontlist::hiddenFontsHint(File1->path(), File1->pattern().toStdString())) {
        setDetailsText(*hint);
    }
}

void Form1::File1_Click() {
    const int index = File1->selectedIndex();
    if (index < 0 || index >= File1->entryCount()) {
        return;
    }
    const std::string name = File1->entry(index);
    state_.FontPath = platform::path::join(File1->path(), name);
    setDetailsText({});
    if (const std::optional<fontcore::FontReport> report =
            fontlist::reportOf(state_.FontPath, nameDecoding())) {
        showFontReport(*report);
    }
    showFontSample();
}

void Form1::chkReadableNames_Click() {
    // The file the pane shows, read again with the other decoding; an empty list's pane says
    // why it is empty.
    if (state_.FontPath.empty() || File1->entryCount() == 0) {
        return;
    }
    setDetailsText({});
    if (const std::optional<fontcore::FontReport> report =
            fontlist::reportOf(state_.FontPath, nameDecoding())) {
        showFontReport(*report);
    }
}

void Form1::chkFontSamples_Click() {
    showFontSample();
}

void Form1::showFontSample() {
    if (!chkFontSamples->isChecked() || state_.FontPath.empty() || File1->entryCount() == 0) {
        FontDetails->hideSample();
        return;
    }
    // The title is drawn as text, so it is read as Unicode whatever the pane's decoding is.
    const std::optional<fontcore::FullName> name =
        fontlist::nameOf(state_.FontPath, readableNames_);
    const int index = File1->selectedIndex();
    std::string title = name && !name->failure ? name->name : std::string();
    if (title.empty() && index >= 0 && index < File1->entryCount()) {
        title = File1->entry(index); // a nameless font is shown by its file's name
    }
    FontDetails->showSample(state_.FontPath, title);
}

void Form1::showFontReport(const fontcore::FontReport& report) {
    if (report.fileListStale) {
        // The selected file has gone: the list shows the directory as it is now.
        File1->refresh();
    }
    state_.InfoText = report.text;
    setDetailsText(state_.InfoText);
}

void Form1::Command1_Click() {
    messages_->show({"About Quillvane",
                     aboutText(version::major, version::minor, version::revision),
                     fontlist::Buttons::Ok, fontlist::MessageIcon::None});
}

void Form1::RenameFonts_Click() {
    batch_->copyUnderFullNames({state_.WindowsDir, state_.FontsDir}, spacesOption(),
                               nameDecoding());
}

void Form1::CreateHTMLFontList_Click() {
    batch_->writeFontList({state_.WindowsDir, state_.FontsDir}, spacesOption(), nameDecoding(),
                          chkFontSamples->isChecked(), readableNames_.language);
}

void Form1::setDetailsText(const std::string& text) {
    FontDetails->setPlainText(displayText(text));
}

void Form1::tellBrowsingProblem(const QString& text) {
    messages_->show({std::string(fontlist::kProgramName), text.toStdString(), fontlist::Buttons::Ok,
                     fontlist::MessageIcon::Warning});
}

} // namespace app
