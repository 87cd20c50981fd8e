#include "app/WindowIcon.h"

#include <QPixmap>

namespace app {

namespace {
#include "app/icons/QuillvaneIcon16.xpm"
#include "app/icons/QuillvaneIcon32.xpm"
} // namespace

QIcon quillvaneIcon() {
    QIcon icon;
    icon.addPixmap(QPixmap(quillvaneIcon16));
    icon.addPixmap(QPixmap(quillvaneIcon32));
    return icon;
}

} // namespace app
