#include "app/FileList.h"

#include "runtime/Text.h"

#include <QDir>
#include <QKeyEvent>
#include <QSignalBlocker>

#include <algorithm>
#include <string>
#include <utility>
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
    refresh();
}

void FileList::setPattern(const QString& pattern) {
    pattern_ = pattern;
    refresh();
}

void FileList::refresh() {
    // Without QDir::CaseSensitive the name filters ignore case, so FONT.TTF matches *.ttf.
    // QDir::Files without QDir::System and QDir::Hidden keeps regular files (and links to them)
    // only: no directories, pipes or hidden files.
    const QStringList names = QDir(path_).entryList(
        pattern_.split(QLatin1Char(';'), Qt::SkipEmptyParts), QDir::Files, QDir::NoSort);
    std::vector<std::pair<std::string, QString>> keyed;
    keyed.reserve(static_cast<std::size_t>(names.size()));
    for (const QString& name : names) {
        keyed.emplace_back(runtime::text::foldCaseUtf8(name.toStdString()), name);
    }
    std::sort(keyed.begin(), keyed.end());
    entries_.clear();
    entries_.reserve(names.size());
    for (auto& [key, name] : keyed) {
        entries_.append(std::move(name));
    }
    const QSignalBlocker blocker(this);
    clear();
    addItems(entries_);
}

void FileList::setSelectedIndex(int index) {
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
