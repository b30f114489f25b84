#include "gui/programicon.h"

#include <QPixmap>
#include <QString>

namespace {

QIcon MakeProgramIcon() {
    // Pictures rendered from the SVG ahead of time: they need no image plugin, and so cost the
    // start of the program nothing, and every window carries the same tile.
    QIcon pngs;
    for (int size : {16, 32, 256})
        pngs.addFile(QStringLiteral(":/icons/pellinoraxis-%1.png").arg(size), QSize(size, size));
    return pngs;
}

} // namespace

QIcon ProgramIcon() {
    // The icons live in a static library; naming its resource here keeps the linker from
    // dropping them.
    Q_INIT_RESOURCE(pellinoraxis_icons);
    static const QIcon icon = MakeProgramIcon();
    return icon;
}
