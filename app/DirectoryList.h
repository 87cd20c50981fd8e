#pragma once

#include <QHash>
#include <QString>
#include <QTreeWidget>

namespace app {

// The directory list in its classic look: the chain of directories from the root down to the
// current one, each an open folder, then the sub-directories of the current one. Opening an
// entry (double click or Enter) moves there. Every change of the path raises changed(), also
// when the program sets it. A directory that cannot be listed is refused: the list stays where
// it was and refused() says why.
class DirectoryList : public QTreeWidget {
    Q_OBJECT
public:
    explicit DirectoryList(QWidget* parent = nullptr);

    // The current directory, in the system's own notation.
    QString path() const;

    // Moves to a directory. Returns false, and raises refused(), when it cannot be listed.
    // Raises changed() when the path differs from the current one.
    bool setPath(const QString& directory);

    // Moves to the directory last visited on the volume with the given root (the volume's
    // "current directory"), or to the root when none was or it has gone.
    bool setDrive(const QString& volumeRoot);

    // Moves to a directory without raising changed(); for start-up, before any handler runs.
    bool initialise(const QString& directory);

    // Re-reads the sub-directories of the current directory.
    void refresh();

signals:
    void changed();
    void refused(const QString& directory, const QString& reason);

protected:
    void drawBranches(QPainter* painter, const QRect& rect,
                      const QModelIndex& index) const override;

private:
    bool moveTo(const QString& directory, bool notify);
    void rebuild();

    QString path_;
    QHash<QString, QString> lastOnVolume_;
};

} // namespace app
