// The dialogs' placements kept across a real close: Qt lets a dialog's native window go when it
// closes, so a placement stored only at exit would never be stored at all.
#include "dialogs/about.h"
#include "dialogs/howto.h"
#include "dialogs_helpers.h"
#include "testsettings.h"

#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using namespace dialogtest;

// Each dialog, shown, moved and closed the player's way, has its position stored as it goes
// (the Scores dialog its size too), and the next one made comes back there; one never shown
// leaves a stored placement alone.
TEST(DialogPlacement, StoredWhenTheDialogCloses) {
    ClearStoredSettings();
    // Moves the dialog once it is up, then presses the button that closes it.
    auto moveThenPress = [](QDialog& dialog, QPoint to, const char* button) {
        QTimer::singleShot(0, &dialog, [&dialog, to, button] {
            dialog.move(to);
            dialog.findChild<QPushButton*>(QLatin1String(button))->click();
        });
    };
    {
        TNewGameForm scores;
        QTimer::singleShot(0, &scores, [&scores] { scores.resize(600, 420); });
        moveThenPress(scores, QPoint(31, 41), "CancelButton");
        scores.ShowScores(smScores, 0, QString());
        TOptionsForm options;
        moveThenPress(options, QPoint(52, 62), "CancelBtn");
        QString nickname = QStringLiteral("Ann"), dictionary = QStringLiteral("Evaluation");
        bool a = true, b = true, c = true, d = true;
        options.Execute(true, a, b, c, d, dictionary, nickname);
        TAboutBox about;
        moveThenPress(about, QPoint(73, 83), "OKButton");
        about.exec();
    }
    EXPECT_EQ(Stored(QStringLiteral("NewGameFormLeft")), QStringLiteral("31"));
    EXPECT_EQ(Stored(QStringLiteral("NewGameFormWidth")), QStringLiteral("600"));
    EXPECT_EQ(Stored(QStringLiteral("OptionsFormTop")), QStringLiteral("62"));
    EXPECT_EQ(Stored(QStringLiteral("AboutBoxLeft")), QStringLiteral("73"));

    TOptionsForm options;
    EXPECT_EQ(options.pos(), QPoint(52, 62));
    Store(QStringLiteral("AboutBoxLeft"), QStringLiteral("5"));
    { TAboutBox neverShown; }
    EXPECT_EQ(Stored(QStringLiteral("AboutBoxLeft")), QStringLiteral("5"));
}

} // namespace
