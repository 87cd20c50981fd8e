// The window as a desktop meets it, under the offscreen platform: a close request that comes
// during a batch run, the file list's highlight against the details pane, the directory list
// after a refusal, texts too long for their controls, and the names assistive technology reads.
#include "app/DirectoryList.h"
#include "app/FileList.h"
#include "app/Form1.h"
#include "app/QtMessagePresenter.h"
#include "support/ScriptedMessages.h"
#include "support/TempDir.h"
#include "support/TrueTypeWriter.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#ifdef QUILLVANE_HAVE_QPA
#include <qpa/qwindowsysteminterface.h>
#endif

#include <filesystem>

using app::Form1;

namespace {

// Real message boxes, each answered by its default button shortly after it appears; the
// window behind is blocked meanwhile, as on a desktop. Records the texts shown.
class AnsweredBoxes : public app::MessagePresenter {
public:
    explicit AnsweredBoxes(QWidget* parent) : boxes_(parent) {}
    runtime::Answer show(const runtime::UserMessage& message) override {
        texts.push_back(message.text);
        QTimer::singleShot(50, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                box->defaultButton() != nullptr ? box->defaultButton()->click() : box->accept();
            }
        });
        return boxes_.show(message);
    }
    std::vector<std::string> texts;

private:
    app::QtMessagePresenter boxes_;
};

template <typename T>
T* control(Form1& form, const char* name) {
    auto* found = form.findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr) {
        qFatal("no control named %s", name);
    }
    return found;
}

QStringList highlighted(app::FileList* list) {
    QStringList rows;
    for (const QModelIndex& index : list->selectionModel()->selectedIndexes()) {
        rows << index.data().toString();
    }
    return rows;
}

QString paneText(Form1& form) {
    return control<QPlainTextEdit>(form, "FontDetails")->toPlainText();
}

} // namespace

class DesktopBehaviourTest : public QObject {
    Q_OBJECT

private slots:
    // The frame's close button during a run: the window system's request is held back while
    // the run takes no input, and must not be lost under the run's closing message.
    void closeDuringRunIsCarriedOutAfterTheClosingMessage() {
#ifndef QUILLVANE_HAVE_QPA
        QSKIP("needs Qt's window-system interface headers (Debian: qt6-base-private-dev)");
#else
        testsupport::TempDir dir;
        for (const char* name : {"a.ttf", "b.ttf", "c.ttf"}) {
            dir.write(name, testsupport::trueTypeFontNamed(std::u16string(u"Face ") +
                                                           static_cast<char16_t>(name[0])));
        }
        QWidget owner;
        AnsweredBoxes boxes(&owner);
        auto form = std::make_unique<Form1>(Form1::Services{dir.str(), {}, &boxes});
        form->setAttribute(Qt::WA_DeleteOnClose, false);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        bool asked = false;
        connect(form.get(), &QWidget::windowTitleChanged, this, [&](const QString& title) {
            if (!asked && title == QStringLiteral(" 2")) {
                asked = true;
                QWindowSystemInterface::handleCloseEvent(form->windowHandle());
            }
        });

        form->RenameFonts_Click();

        QVERIFY(asked);
        QCOMPARE(boxes.texts, std::vector<std::string>{"Finished."});
        for (const char* copy : {"Face a.ttf", "Face b.ttf", "Face c.ttf"}) {
            QVERIFY2(std::filesystem::exists(dir.path() / "friendly" / copy), copy);
        }
        QTRY_VERIFY(!form->isVisible());
#endif
    }

    // Each way the highlight could leave the file the pane shows; after it the file shown is
    // still the one highlighted.
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
        testsupport::ScriptedMessages messages;
        Form1 form(Form1::Services{dir.str(), {}, &messages});
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto* list = control<app::FileList>(form, "File1");
        const auto row = [list](int i) { return list->visualRect(list->model()->index(i, 0)); };
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row(1).center());
        QCOMPARE(highlighted(list), QStringList{"b.ttf"});

        if (gesture == QLatin1String("empty")) {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              QPoint(row(2).center().x(), row(2).bottom() + 3 * row(2).height()));
        } else if (gesture == QLatin1String("ctrl+click")) {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                              row(1).center());
        } else if (gesture == QLatin1String("ctrl+space")) {
            QTest::keyClick(list, Qt::Key_Space, Qt::ControlModifier);
        } else {
            form.RenameFonts_Click();
            QCOMPARE(messages.shown.back().text, std::string("Finished."));
        }
        QCOMPARE(highlighted(list), QStringList{"b.ttf"});
        QVERIFY(paneText(form).contains(QString::fromStdString(dir.file("b.ttf"))));
    }

    // A folder that cannot be opened (here: deleted since it was listed) is refused; the
    // highlight goes back to the current folder and the vanished one leaves the list.
    void refusedFolderGivesTheHighlightBack() {
        testsupport::TempDir dir;
        dir.write("a.ttf", testsupport::trueTypeFontNamed(u"Face"));
        std::filesystem::create_directory(dir.path() / "gone");
        std::filesystem::create_directory(dir.path() / "kept");
        testsupport::ScriptedMessages messages;
        Form1 form(Form1::Services{dir.str(), {}, &messages});
        auto* tree = control<app::DirectoryList>(form, "Dir1");
        const auto items = [tree](const char* name) {
            return tree->findItems(QString::fromLatin1(name),
                                   Qt::MatchExactly | Qt::MatchRecursive);
        };
        const QString here = tree->currentItem()->text(0);
        std::filesystem::remove(dir.path() / "gone");

        tree->setCurrentItem(items("gone").front());
        emit tree->itemActivated(tree->currentItem(), 0);

        QCOMPARE(messages.shown.size(), std::size_t{1});
        QCOMPARE(tree->currentItem()->text(0), here);
        QVERIFY(items("gone").isEmpty());
        QCOMPARE(items("kept").size(), 1);
        QCOMPARE(control<app::FileList>(form, "File1")->path(), dir.str());
    }

    // The type filter's entries are longer than its box: the open list shows them whole, and
    // each has its full text as a tooltip.
    void typeFilterEntriesAreReadableWhole() {
        testsupport::TempDir dir;
        testsupport::ScriptedMessages messages;
        Form1 form(Form1::Services{dir.str(), {}, &messages});
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto* combo = control<QComboBox>(form, "cmbFontType");
        int widest = 0;
        for (int i = 0; i < combo->count(); ++i) {
            QCOMPARE(combo->itemData(i, Qt::ToolTipRole).toString(), combo->itemText(i));
            widest = std::max(widest,
                              combo->view()->fontMetrics().horizontalAdvance(combo->itemText(i)));
        }
        QVERIFY(widest > combo->width()); // the box itself cannot show the longest whole
        combo->showPopup();
        QVERIFY(combo->view()->viewport()->width() > widest);
        combo->hidePopup();
    }

    // A short message under a long title: the box leaves room for the whole title in the
    // title bar's font, beside the title bar's buttons.
    void messageBoxIsAsWideAsItsTitle() {
        const QString title = QStringLiteral("Create HTML File With Friendly Font Names");
        QWidget parent;
        app::QtMessagePresenter presenter(&parent);
        int width = 0;
        QTimer::singleShot(0, [&width] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            width = box->width();
            box->accept();
        });
        presenter.show(
            {title.toStdString(), "Finished.", runtime::Buttons::Ok, runtime::MessageIcon::None});
        const int titleText = QFontMetrics(QFontDatabase::systemFont(QFontDatabase::TitleFont))
                                  .horizontalAdvance(title);
        // The window icon and the minimise, maximise and close buttons, each about as wide as
        // the title bar is high.
        const int buttons = 4 * QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight);
        QVERIFY2(width >= titleText + buttons,
                 qPrintable(QStringLiteral("%1 < %2 + %3").arg(width).arg(titleText).arg(buttons)));
    }
};

QTEST_MAIN(DesktopBehaviourTest)
#include "DesktopBehaviourTest.moc"
