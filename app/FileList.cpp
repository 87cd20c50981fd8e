#include "app/FileList.h"

#include "app/SystemPaths.h"
#include "runtime/DirectoryListing.h"

#include <QKeyEvent>
#include <QSignalBlocker>
#include <QStringList>

#include <string>
#include <vector>

namespace app {

FileList::FileList(QWidget* parent) : QListWidget(parent) {
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem*) { emit clicked(); });
}

void FileList::setPath(const std::string& directory) {
    path_ = paths::normalisedDirectory(directory);
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

std::string FileList::entry(int index) {
    ensureCurrent();
    if (index < 0 || static_cast<std::size_t>(index) >= entries_.size()) {
        return {};
    }
    return entries_[static_cast<std::size_t>(index)];
}

void FileList::refresh() {
    stale_ = false;
    entries_ = runtime::listMatchingFiles(path_, pattern_.toStdString());
    QStringList rows;
    rows.reserve(static_cast<qsizetype>(entries_.size()));
    for (const std::string& name : entries_) {
        rows.append(paths::forDisplay(name));
    }
    const QSignalBlocker blocker(this);
    clear();
    addItems(rows);
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
