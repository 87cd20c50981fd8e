#pragma once

#include "fontcore/FontReport.h"
#include "fontcore/NameDecoding.h"
#include "fontlist/SpacesOption.h"
#include "fontlist/UserMessage.h"

#include <QWidget>

#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <string>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace app {

class BatchWiring;
class DetailsPane;
class DirectoryList;
class DriveList;
class FileList;
class WindowConversation;

// The one window of Quillvane. Its controls and state keep the names the rest of the program
// knows them by; the handlers below are wired to the controls' events and can be called
// directly by tests.
class Form1 : public QWidget {
    Q_OBJECT
public:
    // What the window takes from its surroundings, so that tests can stand in for each part.
    struct Services {
        // The start-up directory as the system's bytes; empty for the process's current one.
        std::string startDirectory;
        std::function<std::string()> systemFontRoot;    // default: platform::systemFontRoot
        fontlist::MessagePresenter* messages = nullptr; // default: real message boxes
        // The shortest time between two progress titles handed to the window system; the
        // titles in between are passed over (the latest and the last are always shown).
        std::chrono::milliseconds progressInterval{33};
    };

    // Window state shared by the handlers and the batch runs.
    struct State {
        std::string WindowsDir; // the system font root, lower case, no trailing separator
        std::string FontsDir;   // WindowsDir + separator + "fonts" + separator
        std::string FontPath;   // the file last selected in File1
        std::string InfoText;   // the report being built for the details pane
    };

    explicit Form1(Services services, QWidget* parent = nullptr);
    ~Form1() override;

    const State& state() const { return state_; }

    // The selected spaces option (the index of the selected option button).
    fontlist::SpacesOption spacesOption() const;
    // The decoding of names the "Readable names" check box asks for.
    fontcore::NameDecoding nameDecoding() const;

    // Handlers.
    void Form_Load();
    void Form_Resize();
    void Drive1_Change();
    void Dir1_Change();
    void cmbFontType_Click();
    void EnableButtons();
    void File1_Click();
    void Command1_Click();
    void RenameFonts_Click();
    void CreateHTMLFontList_Click();
    void chkReadableNames_Click();
    void chkFontSamples_Click();

    // Setting the type filter's text selects that item and runs cmbFontType_Click.
    void setFontTypeText(const QString& itemText);

    // The details pane's whole text, from a UTF-8 text that may hold CR LF.
    void setDetailsText(const std::string& text);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void createDetailsPane();
    void createSpacesOption();
    void createTypeFilter();
    void setTabOrder();
    void connectHandlers();
    void tellBrowsingProblem(const QString& text);
    void showHiddenFontsHint();
    // The report of the selected file (FontPath) into InfoText and the details pane.
    void showFontReport(const fontcore::FontReport& report);
    // The selected file's sample above the pane's text while "Font samples" is on.
    void showFontSample();

    Services services_;
    std::unique_ptr<fontlist::MessagePresenter> ownMessages_;
    fontlist::MessagePresenter* messages_ = nullptr;
    State state_;
    std::unique_ptr<WindowConversation> conversation_;
    std::unique_ptr<BatchWiring> batch_;
    // Readable names in the system locale's language, looked up once.
    fontcore::NameDecoding readableNames_;

    // Controls (owned by the window through Qt's parent ownership).
    QPushButton* CreateHTMLFontList = nullptr;
    DriveList* Drive1 = nullptr;
    DirectoryList* Dir1 = nullptr;
    FileList* File1 = nullptr;
    QPushButton* RenameFonts = nullptr;
    DetailsPane* FontDetails = nullptr;
    QPushButton* Command1 = nullptr;
    QGroupBox* Frame1 = nullptr;
    std::array<QRadioButton*, 3> optnSpaces{};
    QComboBox* cmbFontType = nullptr;
    QCheckBox* chkReadableNames = nullptr;
    QCheckBox* chkFontSamples = nullptr;
};

} // namespace app
