// The window's controls: their names, captions, places in twips and tab order.
#include "app/DetailsPane.h"
#include "app/DirectoryList.h"
#include "app/DriveList.h"
#include "app/FileList.h"
#include "app/Form1.h"
#include "app/Form1Layout.h"
#include "app/Twips.h"
#include "app/WholeEntries.h"
#include "fontlist/FontTypes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

namespace app {

namespace {

// Places a control by its position and size in twips.
void place(QWidget* control, int left, int top, int width, int height) {
    control->setGeometry(twips::toPixels(left), twips::toPixels(top), twips::toPixels(width),
                         twips::toPixels(height));
}

} // namespace

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
    createTypeFilter();

    // In the free row between the About button and the frame; off at every start.
    chkReadableNames = new QCheckBox(QStringLiteral("Readable names"), this);
    chkReadableNames->setObjectName(QStringLiteral("chkReadableNames"));
    chkReadableNames->setToolTip(QStringLiteral(
        "Names in the fonts' own scripts, in your language where the font has it; off: the "
        "stored byte-wise rule"));
    place(chkReadableNames, 5760, 1500, 2055, 255);

    // In the free space left of the About button, reaching a little into the gap after the file
    // list so that its caption is whole; off at every start.
    chkFontSamples = new QCheckBox(QStringLiteral("Font samples"), this);
    chkFontSamples->setObjectName(QStringLiteral("chkFontSamples"));
    chkFontSamples->setToolTip(QStringLiteral(
        "Show each font in its own face, and write a specimen page with the HTML list"));
    place(chkFontSamples, 5640, 1140, 1545, 255);
}

// Read-only, always with its scroll bar, painted in the light 3D colour.
void Form1::createDetailsPane() {
    FontDetails = new DetailsPane(this);
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
    place(FontDetails, layout::detailsLeft, layout::detailsTop, 7905, 2280);
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

// The core's type filters in their order, each item holding its patterns beside its text.
void Form1::createTypeFilter() {
    cmbFontType = new QComboBox(this);
    cmbFontType->setObjectName(QStringLiteral("cmbFontType"));
    cmbFontType->setEditable(false);
    for (const fontlist::TypeFilter& filter : fontlist::typeFilters()) {
        cmbFontType->addItem(QString::fromStdString(filter.entry),
                             QString::fromStdString(filter.patterns));
    }
    showEntriesWhole(cmbFontType);
    {
        // Like the classic drop-down list, nothing is selected until Form_Load selects an item.
        const QSignalBlocker blocker(cmbFontType);
        cmbFontType->setCurrentIndex(-1);
    }
    place(cmbFontType, 2835, 2865, 2760, 315);
}

void Form1::setTabOrder() {
    QWidget* const order[] = {CreateHTMLFontList, Drive1,        Dir1,          File1,
                              RenameFonts,        FontDetails,   Command1,      Frame1,
                              optnSpaces[0],      optnSpaces[1], optnSpaces[2], cmbFontType};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }
    // The check box that has no place in that order comes where it sits, after About.
    QWidget::setTabOrder(Command1, chkReadableNames);
    QWidget::setTabOrder(chkReadableNames, chkFontSamples);
}

} // namespace app
