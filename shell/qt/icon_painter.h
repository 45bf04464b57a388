#pragma once
// The 16 x 16 pictures of the toolbar buttons and the tabs, drawn at start.
#include <QIcon>

namespace vx {

class IconPainter {
public:
    static QIcon toolbarIcon(int button);
    static QIcon inputTabIcon();
    static QIcon plotTabIcon();
    static QIcon applicationIcon();
};

}  // namespace vx
