#include "app/DirectoryList.h"

#include "app/SystemPaths.h"
#include "platform/DirectoryListing.h"
#include "platform/Failure.h"
#include "platform/FileSystem.h"
#include "platform/NativePath.h"
#include "platform/PathText.h"

#include <QByteArray>
#include <QStyle>

#include <filesystem>
#include <system_error>

namespace app {

namespace {
// An entry's directory, as the system's bytes.
constexpr int pathRole = Qt::UserRole;

void setEntryPath(QTreeWidgetItem* item, const std::string& directory) {
    item->setData(0, pathRole, QByteArray::fromStdString(directory));
}

std::string entryPath(const QTreeWidgetItem* item) {
    return item->data(0, pathRole).toByteArray().toStdString();
}
} // namespace

DirectoryList::DirectoryList(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setIndentation(10);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item, int) {
        if (item != nullptr) {
            setPath(entryPath(item));
        }
    });
}

bool DirectoryList::setPath(const std::string& directory) {
    return moveTo(directory, true);
}

bool DirectoryList::initialise(const std::string& directory) {
    return moveTo(directory, false);
}

bool DirectoryList::setDrive(const QString& volumeRoot) {
    const std::string root = paths::normalisedDirectory(paths::fromQt(volumeRoot));
    const auto last = lastOnVolume_.find(root);
    std::error_code error;
    if (last != lastOnVolume_.end() &&
        std::filesystem::is_directory(platform::path::native(last->second), error)) {
        return setPath(last->second);
    }
    return setPath(root);
}

bool DirectoryList::moveTo(const std::string& directory, bool notify) {
    const std::string target = paths::normalisedDirectory(directory);
    try {
        platform::fs::requireListableDirectory(target);
    } catch (const platform::Failure& failure) {
        // The list is read again: the highlight goes back to the current directory, and a
        // directory that has gone leaves the list, before the user is told.
        if (!path_.empty()) {
            rebuild();
        }
        emit refused(paths::forDisplay(target), QString::fromStdString(failure.description()));
        return false;
    }
    const bool moved = target != path_;
    path_ = target;
    lastOnVolume_.insert_or_assign(
        paths::normalisedDirectory(paths::fromQt(paths::volumeRootOf(target))), target);
    rebuild();
    if (moved && notify) {
        emit changed();
    }
    return true;
}

void DirectoryList::drawBranches(QPainter*, const QRect&, const QModelIndex&) const {
    // Every level is always open; no expand or collapse marks.
}

void DirectoryList::refresh() {
    rebuild();
}

void DirectoryList::rebuild() {
    clear();
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);

    QTreeWidgetItem* parentItem = nullptr;
    for (const std::string& directory : paths::chainOf(path_)) {
        auto* item =
            parentItem == nullptr ? new QTreeWidgetItem(this) : new QTreeWidgetItem(parentItem);
        item->setText(0, paths::forDisplay(paths::lastPart(directory)));
        item->setIcon(0, openIcon);
        setEntryPath(item, directory);
        parentItem = item;
    }

    for (const std::string& name : platform::listSubdirectories(path_)) {
        auto* item = new QTreeWidgetItem(parentItem);
        item->setText(0, paths::forDisplay(name));
        item->setIcon(0, closedIcon);
        setEntryPath(item, platform::path::join(path_, name));
    }
    expandAll();
    setCurrentItem(parentItem);
    scrollToItem(parentItem);
}

} // namespace app
