#pragma once

#include <QIcon>

namespace app {

// The program's icon: a page with a quill, drawn at 16x16 and 32x32 in 16 colours.
QIcon quillvaneIcon();

} // namespace app
