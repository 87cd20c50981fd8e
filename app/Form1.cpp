#include "app/Form1.h"

#include "app/AboutText.h"
#include "app/AccessibleNames.h"
#include "app/DirectoryList.h"
#include "app/DriveList.h"
#include "app/EventsWithoutInput.h"
#include "app/FileList.h"
#include "app/NamedComboBoxAccessible.h"
#include "app/PlainText.h"
#include "app/QtMessagePresenter.h"
#include "app/QuillvaneVersion.h"
#include "app/SystemPaths.h"
#include "app/Twips.h"
#include "app/WholeEntries.h"
#include "app/WindowIcon.h"
#include "fontlist/CopyAndRename.h"
#include "fontlist/FontTypes.h"
#include "fontlist/HtmlFontList.h"
#include "fontlist/ProgramName.h"
#include "fontlist/SystemDirectories.h"
#include "platform/PathText.h"
#include "platform/SharedDirectoryReads.h"
#include "platform/SystemFontRoot.h"
#include "text/Text.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFont>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QSignalBlocker>
#include <QStorageInfo>

#include <optional>

namespace app {

namespace {

constexpr int clientWidthAtStart = 7935;
constexpr int clientHeightAtStart = 5535;
constexpr int minimumOuterWidth = 8100;
constexpr int minimumOuterHeight = 5900;
constexpr int detailsLeft = 15;
constexpr int detailsTop = 3240;

const char* const initialPattern = "*.pfb;*.ttf";

// Places a control by its position and size in twips.
void place(QWidget* control, int left, int top, int width, int height) {
    control->setGeometry(twips::toPixels(left), twips::toPixels(top), twips::toPixels(width),
                         twips::toPixels(height));
}

} // namespace

Form1::Form1(Services services, QWidget* parent) : QWidget(parent), services_(std::move(services)) {
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
    resize(twips::toPixels(clientWidthAtStart), twips::toPixels(clientHeightAtStart));
    createControls();
    setTabOrder();
    giveAccessibleNames(*this);

    // Start reads its folder once: the directory list's sub-directories and the file list's
    // fonts come from the same read.
    const platform::SharedDirectoryReads sharedReads;
    // The three browsing controls start on the process's current directory; no handler runs
    // before Form_Load. A start-up directory that cannot be listed falls back to the home
    // directory, then to the root.
    const std::string start =
        services_.startDirectory.empty() ? paths::currentDirectory() : services_.startDirectory;
    if ((start.empty() || !Dir1->initialise(start)) && !Dir1->initialise(paths::homeDirectory())) {
        Dir1->initialise(paths::rootDirectory());
    }
    Drive1->showVolumeOf(Dir1->path());
    File1->setPattern(QString::fromLatin1(initialPattern));
    File1->setPath(Dir1->path());

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
    connect(chkUnicodeNames, &QCheckBox::toggled, this, &Form1::chkUnicodeNames_Click);

    Form_Load();
}

Form1::~Form1() = default;

void Form1::createControls() {
    CreateHTMLFontList = new QPushButton(QStringLiteral("Create HTML Font list"), this);
    CreateHTMLFontList->setObjectName(QStringLiteral("CreateHTMLFontList"));
    place(CreateHTMLFontList, 5760, 120, 2055, 375);

    Drive1 = new DriveList(this);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    place(Drive1, 15, 2865, 2775, 315);

    Dir1 = new DirectoryList(this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    place(Dir1, 15, 30, 2775, 2790);

    File1 = new FileList(this);
    File1->setObjectName(QStringLiteral("File1"));
    place(File1, 2820, 15, 2775, 2820);

    RenameFonts = new QPushButton(QStringLiteral("Copy/Rename Fonts"), this);
    RenameFonts->setObjectName(QStringLiteral("RenameFonts"));
    place(RenameFonts, 5760, 570, 2055, 375);

    createDetailsPane();

    Command1 = new QPushButton(QStringLiteral("About"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    place(Command1, 7200, 1080, 615, 375);

    createSpacesOption();

    cmbFontType = new QComboBox(this);
    cmbFontType->setObjectName(QStringLiteral("cmbFontType"));
    cmbFontType->setEditable(false);
    for (const fontlist::TypeFilter& filter : fontlist::typeFilters()) {
        cmbFontType->addItem(QString::fromStdString(filter.entry));
    }
    showEntriesWhole(cmbFontType);
    {
        // Like the classic drop-down list, nothing is selected until Form_Load selects an item.
        const QSignalBlocker blocker(cmbFontType);
        cmbFontType->setCurrentIndex(-1);
    }
    place(cmbFontType, 2835, 2865, 2760, 315);

    // In the free row between the About button and the frame; off at every start.
    chkUnicodeNames = new QCheckBox(QStringLiteral("Unicode names"), this);
    chkUnicodeNames->setObjectName(QStringLiteral("chkUnicodeNames"));
    chkUnicodeNames->setToolTip(
        QStringLiteral("Read names in every script; off: as the original byte-wise rule"));
    place(chkUnicodeNames, 5760, 1500, 2055, 255);
}

// Read-only, always with its scroll bar, painted in the light 3D colour.
void Form1::createDetailsPane() {
    FontDetails = new QPlainTextEdit(this);
    FontDetails->setObjectName(QStringLiteral("FontDetails"));
    FontDetails->setReadOnly(true);
    FontDetails->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    FontDetails->setTabChangesFocus(true);
    QPalette detailsPalette = FontDetails->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        detailsPalette.setColor(group, QPalette::Base,
                                detailsPalette.color(group, QPalette::Midlight));
    }
    FontDetails->setPalette(detailsPalette);
    place(FontDetails, detailsLeft, detailsTop, 7905, 2280);
}

// The frame of the three option buttons; the first is chosen at start.
void Form1::createSpacesOption() {
    Frame1 = new QGroupBox(QStringLiteral("Spaces in Font Names"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setToolTip(QStringLiteral("This will not affect the original font filename"));
    place(Frame1, 5760, 1800, 2055, 1275);

    const char* const spacesCaptions[] = {"No change", "Replace with \"-\"", "Remove spaces"};
    for (int index = 0; index < 3; ++index) {
        auto* option = new QRadioButton(QString::fromLatin1(spacesCaptions[index]), Frame1);
        option->setObjectName(QStringLiteral("optnSpaces_%1").arg(index));
        place(option, 120, 300 + 300 * index, 1695, 255);
        optnSpaces[static_cast<std::size_t>(index)] = option;
    }
    optnSpaces[0]->setChecked(true);
}

void Form1::setTabOrder() {
    QWidget* const order[] = {CreateHTMLFontList, Drive1,        Dir1,          File1,
                              RenameFonts,        FontDetails,   Command1,      Frame1,
                              optnSpaces[0],      optnSpaces[1], optnSpaces[2], cmbFontType};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }
    // The check box that has no place in that order comes where it sits, after About.
    QWidget::setTabOrder(Command1, chkUnicodeNames);
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
    return chkUnicodeNames->isChecked() ? fontcore::NameDecoding::Unicode
                                        : fontcore::NameDecoding::ByteWise;
}

void Form1::Form_Load() {
    EnableButtons();
    // The Windows directory as the system reports it, in lower case; the font directory is
    // looked for inside lower-cased paths, so it is kept in lower case with a trailing separator.
    fontlist::recordSystemDirectories(state_, services_.systemFontRoot());
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
    const QSize startSize(twips::toPixels(clientWidthAtStart),
                          twips::toPixels(clientHeightAtStart));
    if (size() != startSize) {
        const QRect outer = frameGeometry();
        const int frameWidth = outer.width() - width();
        const int frameHeight = outer.height() - height();
        if (twips::fromPixels(outer.width()) < minimumOuterWidth) {
            resize(twips::toPixelsAtLeast(minimumOuterWidth) - frameWidth, height());
        }
        if (twips::fromPixels(frameGeometry().height()) < minimumOuterHeight) {
            resize(width(), twips::toPixelsAtLeast(minimumOuterHeight) - frameHeight);
        }
    }
    // The pane keeps its left and top; its width is the client width less one twip, its bottom
    // one twip above the bottom of the client area.
    const int clientWidth = twips::fromPixels(width());
    const int clientHeight = twips::fromPixels(height());
    FontDetails->setGeometry(twips::toPixels(detailsLeft), twips::toPixels(detailsTop),
                             twips::toPixels(std::max(0, clientWidth - 1)),
                             twips::toPixels(std::max(0, clientHeight - detailsTop - 1)));
}

void Form1::closeEvent(QCloseEvent* event) {
    if (batchRunning_) {
        // The run lets the window repaint between files; closing it under the run's feet
        // would tear the window down mid-run. The request is carried out when the run has
        // ended, after its closing message has been answered.
        closeRequested_ = true;
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
    // The pattern is what the item holds after its first "(", less its last character.
    const std::string text = cmbFontType->currentText().toStdString();
    const auto length = static_cast<std::int64_t>(text.size());
    const std::int64_t open = text::find(text, 1, "(");
    const std::string pattern = text::take(text, open + 1, length - open - 1);
    File1->setPattern(QString::fromStdString(pattern));
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
}

void Form1::chkUnicodeNames_Click() {
    // The file the pane shows, read again with the other decoding.
    if (state_.FontPath.empty()) {
        return;
    }
    setDetailsText({});
    if (const std::optional<fontcore::FontReport> report =
            fontlist::reportOf(state_.FontPath, nameDecoding())) {
        showFontReport(*report);
    }
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
    // The run's closing message itself says how many fonts it left incomplete.
    runBatch(
        [this] { fontlist::RenameFonts_Click(*this, state_, spacesOption(), nameDecoding()); });
}

void Form1::CreateHTMLFontList_Click() {
    runBatch([this] {
        fontlist::CreateHTMLFontList_Click(*this, state_, spacesOption(), nameDecoding());
    });
}

void Form1::runBatch(const std::function<void()>& operation) {
    batchRunning_ = true;
    sinceProgress_.invalidate();
    operation();
    handOverProgress();
    // A close request still held back by the window system is taken while the run holds.
    processEventsWithoutInput();
    batchRunning_ = false;
    if (closeRequested_) {
        closeRequested_ = false;
        close();
    }
}

std::string Form1::fileListDirectory() {
    return File1->path();
}

int Form1::fileListCount() {
    return File1->entryCount();
}

std::string Form1::fileListEntry(int index) {
    return File1->entry(index);
}

void Form1::refreshFileList() {
    File1->refresh();
}

void Form1::refreshDirectoryList() {
    Dir1->refresh();
}

fontlist::Answer Form1::show(const fontlist::UserMessage& message) {
    // A message is seen under the title the run had reached; a close request that came
    // meanwhile is taken now, before the modal box blocks the window and Qt would drop it.
    handOverProgress();
    processEventsWithoutInput();
    return messages_->show(message);
}

void Form1::showProgress(const std::string& text) {
    // A run over many fonts changes the title far more often than anyone can read it, and each
    // hand-over to the window system costs more than a lookup: the title is handed over at
    // most once per interval, always with the latest value.
    progressTitle_ = text;
    progressWaiting_ = true;
    if (!sinceProgress_.isValid() ||
        std::chrono::milliseconds(sinceProgress_.elapsed()) >= services_.progressInterval) {
        handOverProgress();
    }
}

void Form1::handOverProgress() {
    if (!progressWaiting_) {
        return;
    }
    progressWaiting_ = false;
    setWindowTitle(QString::fromStdString(progressTitle_));
    // Let the new title be painted, but take no input: the run goes on as soon as the window
    // has been brought up to date.
    processEventsWithoutInput();
    sinceProgress_.start();
}

void Form1::disableBatchButtons() {
    CreateHTMLFontList->setEnabled(false);
    RenameFonts->setEnabled(false);
}

void Form1::setDetailsText(const std::string& text) {
    FontDetails->setPlainText(displayText(text));
}

void Form1::tellBrowsingProblem(const QString& text) {
    messages_->show({std::string(fontlist::kProgramName), text.toStdString(), fontlist::Buttons::Ok,
                     fontlist::MessageIcon::Warning});
}

} // namespace app
