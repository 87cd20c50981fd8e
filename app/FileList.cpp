#include "app/FileList.h"

#include "runtime/DirectoryListing.h"

#include <QDir>
#include <QKeyEvent>
#include <QSignalBlocker>

#include <string>
#include <vector>

namespace app {

FileList::FileList(QWidget* parent) : QListWidget(parent) {
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem*) { emit clicked(); });
}

QString FileList::path() const {
    return QDir::toNativeSeparators(path_);
}

void FileList::setPath(const QString& directory) {
    path_ = QDir::cleanPath(QDir(directory).absolutePath());
    markStale();
}

void FileList::setPattern(const QString& pattern) {
    pattern_ = pattern;
    markStale();
}

void FileList::markStale() {
    if (!stale_) {
        stale_ = true;
        // Nobody may ask before the next paint; bring the display up to date then.
        QMetaObject::invokeMethod(this, &FileList::ensureCurrent, Qt::QueuedConnection);
    }
}

void FileList::ensureCurrent() {
    if (stale_) {
        refresh();
    }
}

int FileList::entryCount() {
    ensureCurrent();
    return static_cast<int>(entries_.size());
}

QString FileList::entry(int index) {
    ensureCurrent();
    return entries_.value(index);
}

void FileList::refresh() {
    stale_ = false;
    const std::vector<std::string> names = runtime::listMatchingFiles(
        QDir::toNativeSeparators(path_).toStdString(), pattern_.toStdString());
    entries_.clear();
    entries_.reserve(static_cast<qsizetype>(names.size()));
    for (const std::string& name : names) {
        entries_.append(QString::fromStdString(name));
    }
    const QSignalBlocker blocker(this);
    clear();
    addItems(entries_);
}

void FileList::setSelectedIndex(int index) {
    ensureCurrent();
    {
        const QSignalBlocker blocker(this);
        setCurrentRow(index);
    }
    emit clicked();
}

void FileList::keyPressEvent(QKeyEvent* event) {
    // Moving the selection with the keyboard selects a file just as a click does.
    const int before = currentRow();
    QListWidget::keyPressEvent(event);
    if (currentRow() != before && currentRow() >= 0) {
        emit clicked();
    }
}

} // namespace app
