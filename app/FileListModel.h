#pragma once

#include <QAbstractListModel>

#include <string>
#include <vector>

namespace app {

// The rows of the file list: file names as the system's bytes, decoded only when a row is
// shown. A directory of hundreds of thousands of fonts is taken in one move of its names; the
// view asks only for the rows it paints.
class FileListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit FileListModel(QObject* parent = nullptr) : QAbstractListModel(parent) {}

    const std::vector<std::string>& names() const { return names_; }
    void setNames(std::vector<std::string> names);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    std::vector<std::string> names_;
};

} // namespace app
