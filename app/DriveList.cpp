#include "app/DriveList.h"

#include "app/SystemPaths.h"

#include <QFileInfo>
#include <QSignalBlocker>
#include <QStorageInfo>

#include <algorithm>

namespace app {

DriveList::DriveList(QWidget* parent) : QComboBox(parent) {
    setEditable(false);
    refreshVolumes();
    connect(this, &QComboBox::activated, this, [this](int) { emit changed(); });
}

QString DriveList::drive() const {
    return currentData().toString();
}

void DriveList::refreshVolumes() {
    const QSignalBlocker blocker(this);
    const QString selected = drive();
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        // Bind mounts of single files (common in containers) are no place to browse.
        if (volume.isValid() && QFileInfo(volume.rootPath()).isDir()) {
            roots.append(volume.rootPath());
        }
    }
    roots.removeDuplicates();
    std::sort(roots.begin(), roots.end());
    clear();
    for (const QString& root : roots) {
        const QString name = QStorageInfo(root).name();
        addItem(name.isEmpty() ? root : root + QStringLiteral("  [") + name + QLatin1Char(']'),
                root);
    }
    const int index = findData(selected);
    setCurrentIndex(index >= 0 ? index : (count() > 0 ? 0 : -1));
}

void DriveList::showVolumeOf(const std::string& directory) {
    const QSignalBlocker blocker(this);
    const QString root = paths::volumeRootOf(directory);
    int index = findData(root);
    if (index < 0 && !root.isEmpty()) {
        addItem(root, root);
        index = count() - 1;
    }
    setCurrentIndex(index);
}

void DriveList::showPopup() {
    refreshVolumes();
    QComboBox::showPopup();
}

} // namespace app
