// The settings accessor: absent values leave defaults alone, every type round-trips, and window
// placements restore exactly what was stored, never less and never a window nobody can see.
#include "settings/persist.h"

#include "settings/registry.h"
#include "testsettings.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

class PersistTest : public ::testing::Test {
protected:
    void SetUp() override { ClearStoredSettings(); }

    static void Store(const QString& name, const QString& text) {
        Persist(true).WriteString(name, text);
    }
    static QString Stored(const QString& name) {
        QString s = QStringLiteral("<absent>");
        Persist(false).ReadString(name, s);
        return s;
    }
};

// With nothing stored, every read returns false and leaves the caller's default, and
// restoring a placement moves and resizes nothing.
TEST_F(PersistTest, EmptyStoreLeavesEveryDefault) {
    Persist p(false);
    EXPECT_FALSE(p.IsOpen());
    QString nickname = QStringLiteral("Anonymous");
    bool sounds = true;
    int32_t width = 80;
    EXPECT_FALSE(p.ReadString(QStringLiteral("Nickname"), nickname));
    EXPECT_FALSE(p.ReadBool(QStringLiteral("SelectTileSounds"), sounds));
    EXPECT_FALSE(p.ReadInteger(QStringLiteral("ScoresColumnWidth0"), width));
    EXPECT_EQ(nickname, QStringLiteral("Anonymous"));
    EXPECT_TRUE(sounds);
    EXPECT_EQ(width, 80);

    QWidget form;
    form.setObjectName(QStringLiteral("PellinForm"));
    form.setGeometry(40, 30, 320, 240);
    Qt::WindowStates state = Qt::WindowMaximized;
    p.FormPlacement(form, &state);
    EXPECT_EQ(form.pos(), QPoint(40, 30));
    EXPECT_EQ(form.size(), QSize(320, 240));
    EXPECT_EQ(state, Qt::WindowMaximized); // untouched: nothing was restored
    // A read-only accessor wrote nothing, not even an empty key.
    EXPECT_FALSE(RegistryKey(false).OpenKey(Persist::KeyPath, false));
}

// A writable Persist creates the key, and each type reads back as written; a read-only one
// cannot change what is stored.
TEST_F(PersistTest, ValuesRoundTripThroughANewKey) {
    {
        Persist p(true);
        EXPECT_TRUE(p.IsOpen());
        p.WriteString(QStringLiteral("Nickname"), QStringLiteral("Zoë\tthe \"great\""));
        p.WriteBool(QStringLiteral("HowToPlay"), false);
        p.WriteInteger(QStringLiteral("ScoresColumnWidth2"), -137);
    }
    {
        Persist ro(false);
        ro.WriteString(QStringLiteral("Nickname"), QStringLiteral("Nobody"));
    }
    Persist p(false);
    QString nickname;
    bool howToPlay = true;
    int32_t width = 0;
    EXPECT_TRUE(p.ReadString(QStringLiteral("Nickname"), nickname));
    EXPECT_TRUE(p.ReadBool(QStringLiteral("HowToPlay"), howToPlay));
    EXPECT_TRUE(p.ReadInteger(QStringLiteral("ScoresColumnWidth2"), width));
    EXPECT_EQ(nickname, QStringLiteral("Zoë\tthe \"great\""));
    EXPECT_FALSE(howToPlay);
    EXPECT_EQ(width, -137);
}

// Placement texts: the integer at their start, after blanks and a sign; no digits is 0; runs
// of digits beyond 32 bits saturate instead of wrapping into a wild position.
TEST(PlacementIntegerTest, ReadsTheLeadingInteger) {
    EXPECT_EQ(PlacementInteger(QStringLiteral("   -35")), -35);
    EXPECT_EQ(PlacementInteger(QStringLiteral("\t+8px")), 8);
    EXPECT_EQ(PlacementInteger(QStringLiteral("abc")), 0);
    EXPECT_EQ(PlacementInteger(QStringLiteral("-")), 0);
    EXPECT_EQ(PlacementInteger(QStringLiteral("99999999999999999999")), INT32_MAX);
    EXPECT_EQ(PlacementInteger(QStringLiteral("-2147483648")), INT32_MIN);
}

// Restoring reads Left and Top as placement texts; a missing Left or Top leaves the whole
// placement alone; a missing Width or Height leaves the size alone; a form stored without a
// window state never has its size touched.
TEST_F(PersistTest, RestoreUsesWhatIsThereAndNothingElse) {
    QWidget form;
    form.setObjectName(QStringLiteral("NewGameForm"));
    form.setGeometry(10, 20, 300, 200);

    Store(QStringLiteral("NewGameFormLeft"), QStringLiteral("150"));
    Store(QStringLiteral("NewGameFormWidth"), QStringLiteral("400"));
    Store(QStringLiteral("NewGameFormHeight"), QStringLiteral("300"));
    Qt::WindowStates state = Qt::WindowNoState;
    Persist(false).FormPlacement(form, &state);
    EXPECT_EQ(form.pos(), QPoint(10, 20)) << "Top missing: nothing restored";
    EXPECT_EQ(form.size(), QSize(300, 200));

    Store(QStringLiteral("NewGameFormTop"), QStringLiteral("  70 "));
    Store(QStringLiteral("NewGameFormHeight"), QStringLiteral("no digits"));
    Persist(false).FormPlacement(form, &state);
    EXPECT_EQ(form.pos(), QPoint(150, 70));
    EXPECT_EQ(form.size(), QSize(300, 200)) << "a height of 0 is no height";

    Store(QStringLiteral("NewGameFormHeight"), QStringLiteral("310"));
    Persist(false).FormPlacement(form, &state);
    EXPECT_EQ(form.size(), QSize(400, 310));
    EXPECT_EQ(state, Qt::WindowNoState);

    QWidget dialog;
    dialog.setObjectName(QStringLiteral("NewGameForm"));
    dialog.resize(123, 45);
    Persist(false).FormPlacement(dialog);
    EXPECT_EQ(dialog.pos(), QPoint(150, 70));
    EXPECT_EQ(dialog.size(), QSize(123, 45));
}

// Only a Maximized text whose leading integer is exactly 1 restores a maximized window.
TEST_F(PersistTest, MaximizedTextMustReadAsOne) {
    Store(QStringLiteral("PellinFormLeft"), QStringLiteral("5"));
    Store(QStringLiteral("PellinFormTop"), QStringLiteral("5"));
    const struct {
        const char* text;
        bool maximized;
    } cases[] = {{"1", true},  {" 1", true},  {"1x", true},   {"+1", true},
                 {"0", false}, {"10", false}, {"yes", false}, {"-1", false}};
    for (const auto& c : cases) {
        Store(QStringLiteral("PellinFormMaximized"), QString::fromLatin1(c.text));
        QWidget form;
        form.setObjectName(QStringLiteral("PellinForm"));
        Qt::WindowStates state = c.maximized ? Qt::WindowNoState : Qt::WindowMaximized;
        Persist(false).FormPlacement(form, &state);
        EXPECT_EQ(state == Qt::WindowMaximized, c.maximized) << c.text;
        EXPECT_EQ(form.isMaximized(), c.maximized) << c.text;
    }
}

// Storing: a normal window writes its position and size; a maximized one writes only
// Maximized = "1" and keeps its last normal placement; going back to normal while still
// maximized stores the normal placement, not the maximized one; minimized stores "0".
TEST_F(PersistTest, StoringKeepsTheNormalPlacement) {
    QWidget form;
    form.setObjectName(QStringLiteral("PellinForm"));
    form.setGeometry(100, 80, 320, 240);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    form.move(100, 80);
    const QPoint pos = form.pos();
    const QSize size = form.size();

    Qt::WindowStates state = Qt::WindowNoState;
    Persist(true).FormPlacement(form, &state);
    EXPECT_EQ(Stored(QStringLiteral("PellinFormLeft")), QString::number(pos.x()));
    EXPECT_EQ(Stored(QStringLiteral("PellinFormTop")), QString::number(pos.y()));
    EXPECT_EQ(Stored(QStringLiteral("PellinFormWidth")), QString::number(size.width()));
    EXPECT_EQ(Stored(QStringLiteral("PellinFormHeight")), QString::number(size.height()));
    EXPECT_EQ(Stored(QStringLiteral("PellinFormMaximized")), QStringLiteral("0"));

    form.showMaximized();
    QTest::qWait(20);
    state = Qt::WindowMaximized;
    Store(QStringLiteral("PellinFormLeft"), QStringLiteral("7"));
    Persist(true).FormPlacement(form, &state);
    EXPECT_EQ(Stored(QStringLiteral("PellinFormMaximized")), QStringLiteral("1"));
    EXPECT_EQ(Stored(QStringLiteral("PellinFormLeft")), QStringLiteral("7"))
        << "maximized: Left must not be written";

    // About to be restored: the window is still maximized, the new state is normal.
    state = Qt::WindowNoState;
    Persist(true).FormPlacement(form, &state);
    EXPECT_EQ(Stored(QStringLiteral("PellinFormWidth")), QString::number(size.width()));
    EXPECT_EQ(Stored(QStringLiteral("PellinFormHeight")), QString::number(size.height()));
    EXPECT_EQ(Stored(QStringLiteral("PellinFormMaximized")), QStringLiteral("0"));

    state = Qt::WindowMinimized;
    Store(QStringLiteral("PellinFormWidth"), QStringLiteral("999"));
    Persist(true).FormPlacement(form, &state);
    EXPECT_EQ(Stored(QStringLiteral("PellinFormMaximized")), QStringLiteral("0"));
    EXPECT_EQ(Stored(QStringLiteral("PellinFormWidth")), QStringLiteral("999"));
}

// A form never shown this run stores nothing, so a dialog the player never opened does not
// overwrite its stored place with the designer's origin; a form without a name stores nothing.
TEST_F(PersistTest, UnshownOrNamelessFormStoresNothing) {
    Store(QStringLiteral("OptionsFormLeft"), QStringLiteral("300"));
    QWidget options;
    options.setObjectName(QStringLiteral("OptionsForm"));
    Persist(true).FormPlacement(options);
    EXPECT_EQ(Stored(QStringLiteral("OptionsFormLeft")), QStringLiteral("300"));
    EXPECT_EQ(Stored(QStringLiteral("OptionsFormTop")), QStringLiteral("<absent>"));

    QWidget nameless;
    nameless.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&nameless));
    Persist(true).FormPlacement(nameless);
    EXPECT_EQ(Stored(QStringLiteral("Left")), QStringLiteral("<absent>"));
}

// A restored window always lies wholly on the screen it lands on: a position off every screen
// (a monitor unplugged since) comes back on the nearest one, a huge stored size (one from a
// bigger screen, or typed in by hand) shrinks to the available area, and a tiny one grows to
// half the designed size or the form's minimum, whichever is larger.
TEST_F(PersistTest, RestoredWindowFitsTheScreenAndStaysUsable) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const struct {
        QPoint position;
        QSize size;
        QSize expected;
    } cases[] = {
        {{screen.right() + 5000, screen.top() + 10}, {50, 40}, {200, 150}},
        {{screen.left() + 20, screen.top() + 20}, {1, 1}, {200, 150}},
        {{screen.left() + 20, screen.top() + 20}, {100000, 100000}, screen.size()},
    };
    for (const auto& c : cases) {
        Store(QStringLiteral("PellinFormLeft"), QString::number(c.position.x()));
        Store(QStringLiteral("PellinFormTop"), QString::number(c.position.y()));
        Store(QStringLiteral("PellinFormWidth"), QString::number(c.size.width()));
        Store(QStringLiteral("PellinFormHeight"), QString::number(c.size.height()));

        QWidget form;
        form.setObjectName(QStringLiteral("PellinForm"));
        form.resize(360, 200); // designed size: half of it is 180 x 100
        form.setMinimumSize(200, 150);
        Qt::WindowStates state = Qt::WindowNoState;
        Persist(false).FormPlacement(form, &state);
        EXPECT_EQ(form.size(), c.expected) << c.size.width();
        EXPECT_TRUE(screen.contains(QRect(form.pos(), form.size())))
            << form.pos().x() << "," << form.pos().y();
    }
}

// The screen fitting itself: a window goes to the screen it overlaps most, or the nearest when
// it is off every screen, and slides just far enough to lie wholly inside it; a window larger
// than that screen is cut to it; without screens nothing moves.
TEST(FitOnScreensTest, PutsTheWindowWhollyOnOneScreen) {
    const QList<QRect> screens = {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
    const QSize none(0, 0);
    EXPECT_EQ(FitOnScreens(QRect(2100, 500, 400, 300), none, screens), QRect(2100, 500, 400, 300));
    EXPECT_EQ(FitOnScreens(QRect(3150, 900, 400, 300), none, screens), QRect(2800, 724, 400, 300))
        << "hanging off the second screen's corner";
    EXPECT_EQ(FitOnScreens(QRect(1800, 100, 400, 300), none, screens), QRect(1920, 100, 400, 300))
        << "mostly on the second screen";
    EXPECT_EQ(FitOnScreens(QRect(5000, 100, 400, 300), none, screens), QRect(2800, 100, 400, 300));
    EXPECT_EQ(FitOnScreens(QRect(-2000, -2000, 400, 300), none, screens), QRect(0, 0, 400, 300));
    EXPECT_EQ(FitOnScreens(QRect(9000, 0, 3000, 2000), none, screens), QRect(1920, 0, 1280, 1024));
    EXPECT_EQ(FitOnScreens(QRect(10, 10, 1, 1), QSize(329, 240), screens), QRect(10, 10, 329, 240));
    EXPECT_EQ(FitOnScreens(QRect(9000, 0, 10, 10), none, {}), QRect(9000, 0, 10, 10));
}

} // namespace
