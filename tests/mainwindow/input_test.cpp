// Forming and entering words with real mouse and key events, and what an entered word earns.
#include "game_fixture.h"

#include "model/score.h"

#include <QListWidget>
#include <QTest>

namespace {

using gametest::GameTest;

class InputTest : public GameTest {
protected:
    // S T A R along the bottom row, E above between T and A.
    Chip *s = nullptr, *t = nullptr, *a = nullptr, *r = nullptr, *e = nullptr;

    void Lay() {
        s = Put(0, 0, "S");
        t = Put(0, 2, "T");
        a = Put(0, 4, "A");
        r = Put(0, 6, "R");
        e = Put(1, 3, "E");
    }
    void Click(const Chip* chip) { QTest::mouseClick(form, Qt::LeftButton, {}, At(chip)); }
    void Move(QPoint p, Qt::MouseButtons held = Qt::LeftButton) {
        QMouseEvent move(QEvent::MouseMove, p, form->mapToGlobal(p), Qt::NoButton, held, {});
        QApplication::sendEvent(form, &move);
    }
    std::string Chain() const { return form->GameBoard->WordText(); }
};

// Guards clicks and drags: in the pre-play state only a left press on the free area (not on a
// label) starts a game; then clicks extend the chain, a click on a selected chip cuts it there, a
// drag back onto a selected chip cuts after it; a drag never jumps to a chip that cannot join
// and takes a neighbour only 2 pixels inside its rim; the display shows plain letters or the
// word with its score, with Enter enabled only for a word, and each step plays its sound.
TEST_F(InputTest, ClicksAndDragsFormTheChain) {
    QTest::mouseClick(Child<QLabel>("Label1"), Qt::LeftButton);
    QTest::mouseClick(form, Qt::RightButton, {}, QPoint(200, 250));
    EXPECT_FALSE(form->GameInProgress());
    QTest::mouseClick(form, Qt::LeftButton, {}, QPoint(200, 250));
    EXPECT_TRUE(form->GameInProgress());
    StartQuietGame();
    Lay();
    for (const Chip* chip : {s, t, a, r}) {
        Click(chip);
    }
    EXPECT_EQ(Shown(), QStringLiteral("star (%1)").arg(form->GameBoard->WordScore()));
    EXPECT_TRUE(Enabled("enterButton") && Enabled("clearButton"));
    EXPECT_EQ(Played(), (std::vector<int>{seSelectTile, seSelectTile, seSelectTile, seSelectWord}));
    Click(t);
    EXPECT_EQ(Shown(), QStringLiteral("S"));
    EXPECT_FALSE(Enabled("enterButton"));

    QTest::keyClick(form, Qt::Key_Escape);
    QTest::mousePress(form, Qt::LeftButton, {}, At(s));
    for (const Chip* chip : {t, a, r, t}) {
        Move(At(chip));
    }
    EXPECT_EQ(Chain(), "ST");
    Move(At(r));
    EXPECT_EQ(Chain(), "ST");
    Move(At(a, 1));
    EXPECT_EQ(Chain(), "ST");
    Move(At(a, 2));
    EXPECT_EQ(Chain(), "STA");
    QTest::mouseRelease(form, Qt::LeftButton, {}, At(a));
    Move(At(r), Qt::NoButton);
    EXPECT_EQ(Chain(), "STA");
}

// Guards entering and clearing: Space, Return and a double-click (press, release, double-click,
// release) enter a word, which scores, leaves the board, joins the best words and stays shown
// with Enter and Clear off; a double-click entering a word selects nothing more; Space without
// a word and Esc without a chain do nothing; Esc, Backspace and Delete clear the chain.
TEST_F(InputTest, KeysAndDoubleClickEnterOrClear) {
    StartQuietGame();
    QTest::keyClick(form, Qt::Key_Space);
    QTest::keyClick(form, Qt::Key_Escape);
    EXPECT_EQ(form->Score, 0u);
    for (int key : {Qt::Key_Escape, Qt::Key_Backspace, Qt::Key_Delete}) {
        Lay();
        Click(t);
        Click(a);
        QTest::keyClick(form, static_cast<Qt::Key>(key));
        EXPECT_TRUE(Chain().empty() && Shown().isEmpty() && !Enabled("clearButton")) << key;
    }
    uint32_t expected = 0;
    for (int way = 0; way < 3; ++way) {
        form->GameBoard->Fill(0);
        Lay();
        Click(t);
        Click(e);
        // Where A's disc overlaps that of a chip up to the right, which is no part of the word.
        const QPoint last = At(a) + QPoint(10, -17);
        Put(1, 5, "S");
        if (way == 2) {
            QTest::mousePress(form, Qt::LeftButton, {}, last);
            QTest::mouseRelease(form, Qt::LeftButton, {}, last);
            QTest::mouseDClick(form, Qt::LeftButton, {}, last);
            QTest::mouseRelease(form, Qt::LeftButton, {}, last);
        } else {
            Click(a);
            QTest::keyClick(form, way == 0 ? Qt::Key_Space : Qt::Key_Return);
        }
        expected += 2 * 2 * 2;
        EXPECT_EQ(form->Score, expected) << way;
        EXPECT_FALSE(t->IsOccupied() || e->IsOccupied() || a->IsOccupied()) << way;
        EXPECT_TRUE(Chain().empty()) << way;
        EXPECT_EQ(Shown(), QStringLiteral("tea (8)"));
        EXPECT_FALSE(Enabled("enterButton") || Enabled("clearButton"));
    }
    EXPECT_EQ(form->TopBestWord(), QStringLiteral("tea (8)"));
    EXPECT_EQ(Child<QListWidget>("bestWordList")->count(), 1);
}

// Guards what a word earns: the score from 1990 to 2010 adds a life and plays New Life instead
// of the word sound; 47 points play Low Word and 48 High Word; a total near the 32-bit limit
// stops there.
TEST_F(InputTest, LivesAndWordSounds) {
    StartQuietGame();
    auto enter = [this](int value) {
        Click(Put(0, 0, "A", value));
        Click(Put(0, 2, "T", 1));
        Played();
        QTest::keyClick(form, Qt::Key_Space);
        return Played();
    };
    form->SetScore(1990);
    EXPECT_EQ(enter(20), std::vector<int>{seNewLife});
    EXPECT_EQ(form->Score, 2010u);
    EXPECT_EQ(form->Lives, 4u);
    EXPECT_EQ(enter(47), std::vector<int>{seLowWord});
    EXPECT_EQ(enter(48), std::vector<int>{seHighWord});
    EXPECT_EQ(form->Lives, 4u);
    form->SetScore(static_cast<uint32_t>(kMaxScore) - 5);
    enter(9);
    EXPECT_EQ(form->Score, static_cast<uint32_t>(kMaxScore));
}

} // namespace
