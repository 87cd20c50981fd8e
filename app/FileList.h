#pragma once

#include <QListWidget>
#include <QString>

#include <string>
#include <vector>

namespace app {

// The file list: the regular, non-hidden files of one directory whose names match one of the
// ";"-separated wildcard patterns, compared without regard to case, sorted without regard to
// case (runtime::listMatchingFiles). Setting the path or the pattern, or refresh(), reads the
// directory again and selects nothing. Setting the selected index raises clicked() exactly as a
// user's click does; a click on the entry already selected raises it too. The directory and the
// entries are the system's bytes; only the rows show them decoded.
//
// Setting the path or the pattern only marks the listing stale; it is read when it is next
// asked for (or when the event loop next runs), so that setting both and refreshing, as the
// type filter does, reads a large directory once rather than three times.
class FileList : public QListWidget {
    Q_OBJECT
public:
    explicit FileList(QWidget* parent = nullptr);

    const std::string& path() const { return path_; }
    void setPath(const std::string& directory);

    QString pattern() const { return pattern_; }
    void setPattern(const QString& pattern);

    void refresh();

    int entryCount();
    // The file name at an index, or an empty name when there is none.
    std::string entry(int index);

    int selectedIndex() const { return currentRow(); }
    void setSelectedIndex(int index);

signals:
    void clicked();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void markStale();
    void ensureCurrent();

    bool stale_ = false;
    std::string path_;
    QString pattern_;
    std::vector<std::string> entries_;
};

} // namespace app
