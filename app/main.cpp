#include "app/Form1.h"
#include "app/SystemPaths.h"
#include "platform/TemporaryFileCleanup.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    // Ended by a signal during a run, the window takes its temporary files along.
    platform::removeTemporaryFilesOnSignals();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillvane"));
    QApplication::setApplicationVersion(QStringLiteral(QUILLVANE_VERSION_TEXT));
    // Lets the desktop match the window to its installed entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("quillvane"));

    // The window takes no command line: it starts in the process's current directory.
    app::Form1 window(app::Form1::Services{app::paths::currentDirectory(), {}, nullptr});
    window.show();
    return QApplication::exec();
}
