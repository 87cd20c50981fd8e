#include "app/FileList.h"

#include "app/FileListModel.h"
#include "app/SystemPaths.h"
#include "platform/DirectoryListing.h"

#include <QItemSelectionModel>
#include <QMouseEvent>

#include <algorithm>
#include <string>
#include <vector>

namespace app {

FileList::FileList(QWidget* parent) : QListView(parent), model_(new FileListModel(this)) {
    setModel(model_);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current, const QModelIndex&) { highlightMoved(current); });
    // The highlight is the selection: where a gesture selects a row without making it the
    // current one, the current row follows, so that the file shown is the one highlighted.
    // A gesture that only takes the highlight away (a click on empty space, Ctrl+click or
    // Ctrl+Space on the highlighted row) leaves it where it was: the file shown stays the one
    // highlighted.
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const QModelIndexList selected = selectionModel()->selectedIndexes();
        if (selected.size() == 1 && selected.front() != currentIndex()) {
            selectionModel()->setCurrentIndex(selected.front(), QItemSelectionModel::NoUpdate);
        } else if (selected.isEmpty() && currentIndex().isValid()) {
            selectionModel()->select(currentIndex(), QItemSelectionModel::ClearAndSelect);
        }
    });
    // A click that did not move the highlight: the file shown is read again.
    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        if (index.isValid() && index.row() == rowAtPress_) {
            announce();
        }
    });
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
    return static_cast<int>(model_->names().size());
}

std::string FileList::entry(int index) {
    ensureCurrent();
    const std::vector<std::string>& names = model_->names();
    if (index < 0 || static_cast<std::size_t>(index) >= names.size()) {
        return {};
    }
    return names[static_cast<std::size_t>(index)];
}

void FileList::refresh() {
    stale_ = false;
    const bool share = shareNextRefresh_;
    shareNextRefresh_ = false;
    const std::string pattern = pattern_.toStdString();
    if (share && listingCount_ > 0 && listedPath_ == path_ &&
        platform::samePatterns(listedPattern_, pattern)) {
        // As after a reset: nothing highlighted, and no one told.
        selectionModel()->clear();
        listedPattern_ = pattern;
    } else {
        // A reset leaves nothing highlighted and tells no one: no file is shown by it.
        model_->setNames(platform::listMatchingFiles(path_, pattern));
        ++listingCount_;
        listedPath_ = path_;
        listedPattern_ = pattern;
    }
    // The file last shown, when it is still listed here, gets its highlight back without
    // being read again, so that the list and the details pane keep agreeing.
    if (path_ != shownDirectory_) {
        return;
    }
    const std::vector<std::string>& names = model_->names();
    const auto shown = std::find(names.begin(), names.end(), shownName_);
    if (shown != names.end()) {
        settingIndex_ = true;
        setCurrentIndex(model_->index(static_cast<int>(shown - names.begin()), 0));
        settingIndex_ = false;
    }
}

int FileList::selectedIndex() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

void FileList::setSelectedIndex(int index) {
    ensureCurrent();
    settingIndex_ = true;
    setCurrentIndex(model_->index(index, 0));
    settingIndex_ = false;
    announce();
}

void FileList::announce() {
    shownDirectory_ = path_;
    shownName_ = entry(selectedIndex());
    emit clicked();
}

void FileList::mousePressEvent(QMouseEvent* event) {
    rowAtPress_ = selectedIndex();
    QListView::mousePressEvent(event);
}

void FileList::highlightMoved(const QModelIndex& current) {
    if (!settingIndex_ && current.isValid()) {
        announce();
    }
}

} // namespace app
