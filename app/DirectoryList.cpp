#include "app/DirectoryList.h"

#include "runtime/Failure.h"
#include "runtime/FileSystem.h"
#include "runtime/Text.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStorageInfo>
#include <QStyle>

#include <algorithm>

namespace app {

namespace {
constexpr int pathRole = Qt::UserRole;

QString normalised(const QString& directory) {
    return QDir::cleanPath(QDir(directory).absolutePath());
}

// The directory itself and its ancestors, from the root down.
QStringList chainOf(const QString& directory) {
    QStringList chain;
    QDir dir(directory);
    chain.prepend(dir.absolutePath());
    while (dir.cdUp()) {
        chain.prepend(dir.absolutePath());
    }
    return chain;
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
            setPath(item->data(0, pathRole).toString());
        }
    });
}

QString DirectoryList::path() const {
    return QDir::toNativeSeparators(path_);
}

bool DirectoryList::setPath(const QString& directory) {
    return moveTo(directory, true);
}

bool DirectoryList::initialise(const QString& directory) {
    return moveTo(directory, false);
}

bool DirectoryList::setDrive(const QString& volumeRoot) {
    const QString root = normalised(volumeRoot);
    const QString last = lastOnVolume_.value(root);
    if (!last.isEmpty() && QFileInfo(last).isDir()) {
        return setPath(last);
    }
    return setPath(root);
}

bool DirectoryList::moveTo(const QString& directory, bool notify) {
    const QString target = normalised(directory);
    try {
        runtime::fs::requireListableDirectory(QDir::toNativeSeparators(target).toStdString());
    } catch (const runtime::Failure& failure) {
        emit refused(QDir::toNativeSeparators(target),
                     QString::fromStdString(failure.description()));
        return false;
    }
    const bool moved = target != path_;
    path_ = target;
    lastOnVolume_.insert(normalised(QStorageInfo(target).rootPath()), target);
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
    for (const QString& directory : chainOf(path_)) {
        const QString name = QDir(directory).isRoot() ? QDir::toNativeSeparators(directory)
                                                      : QFileInfo(directory).fileName();
        auto* item =
            parentItem == nullptr ? new QTreeWidgetItem(this) : new QTreeWidgetItem(parentItem);
        item->setText(0, name);
        item->setIcon(0, openIcon);
        item->setData(0, pathRole, directory);
        parentItem = item;
    }

    QStringList subdirectories =
        QDir(path_).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::NoSort);
    std::sort(subdirectories.begin(), subdirectories.end(), [](const QString& a, const QString& b) {
        return runtime::text::compareNoCase(a.toStdString(), b.toStdString()) < 0;
    });
    for (const QString& name : subdirectories) {
        auto* item = new QTreeWidgetItem(parentItem);
        item->setText(0, name);
        item->setIcon(0, closedIcon);
        item->setData(0, pathRole, QDir(path_).filePath(name));
    }
    expandAll();
    setCurrentItem(parentItem);
    scrollToItem(parentItem);
}

} // namespace app
