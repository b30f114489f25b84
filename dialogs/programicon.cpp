#include "dialogs/programicon.h"

#include <QPixmap>
#include <QString>

namespace {

QIcon MakeProgramIcon() {
    QIcon icon(QStringLiteral(":/icons/pellinoraxis.svg"));
    // Without the SVG plugins the icon exists but draws nothing; the PNGs always load.
    if (!icon.pixmap(32, 32).isNull())
        return icon;
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
