#pragma once

#include <QListView>
#include <QString>

#include <string>

namespace app {

class FileListModel;

// The file list: the regular, non-hidden files of one directory whose names match one of the
// ";"-separated wildcard patterns, compared without regard to case, sorted without regard to
// case (platform::listMatchingFiles). Setting the path or the pattern, or refresh(), reads the
// directory again and selects nothing. The directory and the entries are the system's bytes;
// only the rows show them decoded.
//
// clicked() tells that a file is to be shown: whenever the highlight moves to a file, however
// it got there (a click, a drag, the keyboard, a right click), once per move; when the user
// clicks the entry already highlighted (it may have changed since); and when the program sets
// the selected index, exactly as a user's click does. No gesture takes the highlight away, and
// a re-read puts it back on the file last shown when that file is still listed (without
// telling anyone: it is shown already).
//
// Setting the path or the pattern only marks the listing stale; it is read when it is next
// asked for (or when the event loop next runs), so that setting both and refreshing, as the
// type filter does, reads a large directory once rather than three times.
class FileList : public QListView {
    Q_OBJECT
public:
    explicit FileList(QWidget* parent = nullptr);

    const std::string& path() const { return path_; }
    void setPath(const std::string& directory);

    QString pattern() const { return pattern_; }
    void setPattern(const QString& pattern);

    void refresh();
    // Lets the next refresh() keep the listing in hand instead of reading the directory again,
    // when it would list the same directory with the same patterns (in any order and case):
    // the window's start lists its folder for the first selection and, at once, again for the
    // type filter's first choice, and both find the same files. The refresh still leaves
    // nothing highlighted. false withdraws the leave (any other refresh reads the directory).
    void shareListingWithNextRefresh(bool share) { shareNextRefresh_ = share; }
    // How many times the directory has been read (for tests).
    int listingCount() const { return listingCount_; }

    int entryCount();
    // The file name at an index, or an empty name when there is none.
    std::string entry(int index);

    int selectedIndex() const;
    void setSelectedIndex(int index);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void markStale();
    void ensureCurrent();
    void highlightMoved(const QModelIndex& current);
    // Remembers the highlighted file as the one shown, and tells so through clicked().
    void announce();

    FileListModel* model_ = nullptr;
    bool stale_ = false;
    bool settingIndex_ = false;
    int rowAtPress_ = -1; // the highlighted row when the last mouse press began
    std::string path_;
    QString pattern_;
    std::string shownDirectory_; // where the file last announced was listed
    std::string shownName_;
    bool shareNextRefresh_ = false;
    int listingCount_ = 0;
    std::string listedPath_; // what the listing in hand was read with
    std::string listedPattern_;
};

} // namespace app
