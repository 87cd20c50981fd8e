#include "app/FileListModel.h"

#include "app/SystemPaths.h"

#include <utility>

namespace app {

void FileListModel::setNames(std::vector<std::string> names) {
    beginResetModel();
    names_ = std::move(names);
    endResetModel();
}

int FileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(names_.size());
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.column() != 0 ||
        static_cast<std::size_t>(index.row()) >= names_.size()) {
        return {};
    }
    return paths::forDisplay(names_[static_cast<std::size_t>(index.row())]);
}

} // namespace app
