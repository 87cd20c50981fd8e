#pragma once

#include <QComboBox>
#include <QString>

#include <string>

namespace app {

// The drive list: the mounted volumes of the system, each shown by its root path and, where it
// has one, its name. The list is read again each time it drops down, so volumes mounted since
// start-up appear. changed() is raised when the user picks a volume.
class DriveList : public QComboBox {
    Q_OBJECT
public:
    explicit DriveList(QWidget* parent = nullptr);

    // The root path of the selected volume ("/", "/media/usb", "C:/").
    QString drive() const;

    // Selects the volume that holds the given directory (the system's bytes), without raising
    // changed().
    void showVolumeOf(const std::string& directory);

    // Reads the mounted volumes again, keeping the selection where it can.
    void refreshVolumes();

    void showPopup() override;

signals:
    void changed();
};

} // namespace app
