#include "settings/persist.h"

#include "settings/registry.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <limits>

const QString Persist::KeyPath =
    QStringLiteral("\\Software\\Corvane Limited\\Pellinoraxis Evaluation 1.0");

int32_t PlacementInteger(const QString& text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text.at(i) == QLatin1Char(' ') || text.at(i) == QLatin1Char('\t') ||
                     text.at(i) == QLatin1Char('\n') || text.at(i) == QLatin1Char('\r') ||
                     text.at(i) == QLatin1Char('\v') || text.at(i) == QLatin1Char('\f')))
        ++i;
    bool negative = false;
    if (i < n && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    // Accumulate in 64 bits and stop growing once past the 32-bit range, so a long run of
    // digits in a hand-edited value saturates instead of overflowing.
    const int64_t limit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    int64_t magnitude = 0;
    while (i < n && text.at(i) >= QLatin1Char('0') && text.at(i) <= QLatin1Char('9')) {
        magnitude = std::min(limit, magnitude * 10 + (text.at(i).unicode() - u'0'));
        ++i;
    }
    const int64_t v = negative ? -magnitude : magnitude;
    return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

QRect FitOnScreens(const QRect& window, const QSize& minimum, const QList<QRect>& screens) {
    const QSize wanted = window.size().expandedTo(minimum);
    if (screens.isEmpty())
        return QRect(window.topLeft(), wanted);

    // The screen it lands on: the one it overlaps most, or, off every screen (a monitor
    // unplugged since), the nearest.
    auto gap = [](int aLo, int aHi, int bLo, int bHi) -> int64_t {
        if (aHi < bLo)
            return int64_t{bLo} - aHi;
        if (bHi < aLo)
            return int64_t{aLo} - bHi;
        return 0;
    };
    const QRect* home = nullptr;
    int64_t bestOverlap = 0;
    int64_t bestDistance = std::numeric_limits<int64_t>::max();
    for (const QRect& s : screens) {
        const QRect shared = s.intersected(window);
        const int64_t overlap = shared.isEmpty() ? 0 : int64_t{shared.width()} * shared.height();
        const int64_t dx = gap(window.left(), window.right(), s.left(), s.right());
        const int64_t dy = gap(window.top(), window.bottom(), s.top(), s.bottom());
        const int64_t distance = dx * dx + dy * dy;
        if (overlap > bestOverlap ||
            (bestOverlap == 0 && overlap == 0 && distance < bestDistance)) {
            bestOverlap = overlap;
            bestDistance = distance;
            home = &s;
        }
    }
    const QRect& s = *home;
    const QSize size = wanted.boundedTo(s.size());
    return QRect(QPoint(std::clamp(window.x(), s.x(), s.x() + s.width() - size.width()),
                        std::clamp(window.y(), s.y(), s.y() + s.height() - size.height())),
                 size);
}

Persist::Persist(bool writable)
    : writable(writable), registry(std::make_unique<RegistryKey>(writable)) {
    registry->OpenKey(KeyPath, writable);
}

Persist::~Persist() {
    // A refused write is not the player's problem: the previous file is still whole, and the
    // values are still in memory for the next attempt.
    (void)registry->CloseKey();
}

bool Persist::IsOpen() const {
    return registry->IsOpen();
}

bool Persist::Close() {
    return registry->CloseKey();
}

QString Persist::Location() {
    return RegistryKey::Location(KeyPath);
}

bool Persist::ReadString(const QString& name, QString& value) {
    return registry->ReadString(name, value);
}

bool Persist::ReadBool(const QString& name, bool& value) {
    return registry->ReadBool(name, value);
}

bool Persist::ReadInteger(const QString& name, int32_t& value) {
    return registry->ReadInteger(name, value);
}

void Persist::WriteString(const QString& name, const QString& value) {
    registry->WriteString(name, value);
}

void Persist::WriteBool(const QString& name, bool value) {
    registry->WriteBool(name, value);
}

void Persist::WriteInteger(const QString& name, int32_t value) {
    registry->WriteInteger(name, value);
}

void Persist::FormPlacement(QWidget& form, Qt::WindowStates* windowState) {
    if (form.objectName().isEmpty())
        return;
    if (writable)
        StorePlacement(form, windowState);
    else
        RestorePlacement(form, windowState);
}

void Persist::RestorePlacement(QWidget& form, Qt::WindowStates* windowState) {
    const QString name = form.objectName();
    QString left, top;
    if (!ReadString(name + QLatin1String("Left"), left) ||
        !ReadString(name + QLatin1String("Top"), top))
        return;
    const QPoint stored(PlacementInteger(left), PlacementInteger(top));

    QSize size = form.size();
    QSize usable(0, 0);
    bool sizeStored = false;
    if (windowState) {
        QString width, height;
        if (ReadString(name + QLatin1String("Width"), width) &&
            ReadString(name + QLatin1String("Height"), height)) {
            const QSize s(PlacementInteger(width), PlacementInteger(height));
            // A size of nothing is no size: keep the designed one rather than a window that
            // cannot be seen or grabbed.
            if (s.width() > 0 && s.height() > 0) {
                // However small it was stored, the form keeps half its designed size (where
                // everything on it still shows) and whatever its own minimum asks.
                usable = (form.size() / 2).expandedTo(form.minimumSize());
                if (form.minimumSizeHint().isValid())
                    usable = usable.expandedTo(form.minimumSizeHint());
                size = s.expandedTo(usable).boundedTo(form.maximumSize());
                sizeStored = true;
            }
        }
    }

    // The window goes wholly inside the available area of the screen it lands on, never
    // larger than that area: a size stored on a bigger screen (or typed in by hand) must not
    // make a window nobody can see whole, nor buffers as large as it.
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.append(screen->availableGeometry());
    const QRect placed = FitOnScreens(QRect(stored, size), usable, screens);
    form.move(placed.topLeft());
    if (sizeStored)
        form.resize(placed.size());

    if (windowState) {
        QString maximized;
        const bool isMaximized = ReadString(name + QLatin1String("Maximized"), maximized) &&
                                 PlacementInteger(maximized) == 1;
        *windowState = isMaximized ? Qt::WindowMaximized : Qt::WindowNoState;
        form.setWindowState(*windowState);
    }
}

void Persist::StorePlacement(QWidget& form, const Qt::WindowStates* windowState) {
    // Until it has been shown a form has no placement of its own, only the designer's origin.
    if (!form.testAttribute(Qt::WA_WState_Created))
        return;
    const QString name = form.objectName();
    const bool normal =
        !windowState ||
        !(*windowState & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
    if (normal) {
        // The new state may be normal while the window is still maximized (the store runs
        // just before the change): take the normal placement the window will return to.
        QPoint pos = form.pos();
        QSize size = form.size();
        const QRect normalRect = form.normalGeometry();
        if ((form.windowState() &
             (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)) &&
            normalRect.isValid()) {
            const QPoint frameOffset = form.geometry().topLeft() - form.pos();
            pos = normalRect.topLeft() - frameOffset;
            size = normalRect.size();
        }
        WriteString(name + QLatin1String("Left"), QString::number(pos.x()));
        WriteString(name + QLatin1String("Top"), QString::number(pos.y()));
        if (windowState) {
            WriteString(name + QLatin1String("Width"), QString::number(size.width()));
            WriteString(name + QLatin1String("Height"), QString::number(size.height()));
        }
    }
    if (windowState) {
        // A minimized window stores "0": it comes back as a normal window.
        const bool maximized =
            (*windowState & Qt::WindowMaximized) && !(*windowState & Qt::WindowMinimized);
        WriteString(name + QLatin1String("Maximized"),
                    maximized ? QStringLiteral("1") : QStringLiteral("0"));
    }
}
