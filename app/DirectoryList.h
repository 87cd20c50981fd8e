#pragma once

#include <QString>
#include <QTreeWidget>

#include <map>
#include <string>

namespace platform {
class SharedDirectoryReads;
}

namespace app {

// The directory list in its classic look: the chain of directories from the root down to the
// current one, each an open folder, then the sub-directories of the current one. Opening an
// entry (double click or Enter) moves there. Every change of the path raises changed(), also
// when the program sets it. A directory that cannot be listed is refused: the list stays where
// it was (read again, with the current directory highlighted) and refused() says why. Paths
// are the system's bytes; only the entries' texts and refused() show them decoded.
class DirectoryList : public QTreeWidget {
    Q_OBJECT
public:
    // The reads of directories that its listings share with others' (none: its own reads).
    void shareReads(const platform::SharedDirectoryReads* shared) { sharedReads_ = shared; }

    explicit DirectoryList(QWidget* parent = nullptr);

    // The current directory, in the system's own notation.
    const std::string& path() const { return path_; }

    // Moves to a directory. Returns false, and raises refused(), when it cannot be listed.
    // Raises changed() when the path differs from the current one.
    bool setPath(const std::string& directory);

    // Moves to the directory last visited on the volume with the given root (the volume's
    // "current directory"), or to the root when none was or it has gone.
    bool setDrive(const QString& volumeRoot);

    // Moves to a directory without raising changed(); for start-up, before any handler runs.
    bool initialise(const std::string& directory);

    // Re-reads the sub-directories of the current directory.
    void refresh();

signals:
    void changed();
    // The directory as a person reads it, and why it cannot be listed.
    void refused(const QString& directory, const QString& reason);

protected:
    void drawBranches(QPainter* painter, const QRect& rect,
                      const QModelIndex& index) const override;

private:
    const platform::SharedDirectoryReads* sharedReads_ = nullptr;
    bool moveTo(const std::string& directory, bool notify);
    void rebuild();

    std::string path_;
    std::map<std::string, std::string> lastOnVolume_; // volume root -> directory last visited
};

} // namespace app
