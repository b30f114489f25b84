// A whole game played through the window's own events and timers.
#include "game_fixture.h"

#include "dialogs/statistics_form.h"

#include <QTest>

namespace {

using gametest::GameTest;

// Guards the game from start to the high score table: a press on the board starts it, words
// found on the board and entered by Space, Return and a double-click score and list the best
// one, the chips then come fast enough to end every round, and the last lost life opens "Game
// Over", whose table and store take the score, the nickname and the best word, and the player's
// statistics take the game.
TEST_F(GameTest, WholeGameEndsInTheHighScoreTable) {
    QTest::mouseClick(form, Qt::LeftButton, {}, QPoint(200, 250));
    ASSERT_TRUE(form->GameInProgress());
    // The bottom row, where nothing falls out of the words being formed.
    const std::vector<std::pair<const char*, int>> words = {
        {"STAR", Qt::Key_Space}, {"TEA", Qt::Key_Return}, {"AT", 0}};
    for (const auto& [letters, key] : words) {
        std::vector<const Chip*> chain;
        for (int k = 0; letters[k] != '\0'; ++k) {
            chain.push_back(Put(0, 2 * k, std::string(1, letters[k]).c_str()));
            QTest::mouseClick(form, Qt::LeftButton, {}, At(chain.back()));
        }
        if (key != 0) {
            QTest::keyClick(form, static_cast<Qt::Key>(key));
        } else {
            QTest::mouseDClick(form, Qt::LeftButton, {}, At(chain.back()));
            QTest::mouseRelease(form, Qt::LeftButton, {}, At(chain.back()));
        }
    }
    EXPECT_EQ(form->Score, 16u + 8u + 4u);
    EXPECT_EQ(form->TopBestWord(), QStringLiteral("star (16)"));

    form->StartEvolveInterval = 1;
    form->EvolveTimer.setInterval(1);
    EXPECT_TRUE(QTest::qWaitFor([this] { return !scores->captions.empty(); }, 60000));
    EXPECT_EQ(scores->captions, std::vector<QString>{QStringLiteral("Game Over")});
    EXPECT_FALSE(form->GameInProgress());
    EXPECT_EQ(form->Lives, 0u);
    EXPECT_EQ(scores->Row(0), QStringLiteral("28|Anonymous|star (16)"));
    QString stored;
    Persist(false).ReadString(QStringLiteral("Flow0"), stored);
    EXPECT_EQ(stored, QStringLiteral("28\tAnonymous\tstar (16)"));
    statistics::PlayerStatistics figures;
    Persist store(false);
    TransferStatistics(store, QStringLiteral("Flow"), figures, false);
    EXPECT_EQ(figures, (statistics::PlayerStatistics{1, 28, 28, "star", 16, "star", 4, 3}));
}

} // namespace
