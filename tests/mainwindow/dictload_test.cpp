// The dictionary loading window: its looks, the progress a word index load gives it, and its
// place over the main window.
#include "pelform_fixture.h"

#include "dictionary/dictload.h"
#include "model/words.h"
#include "tests/dictionary/tsdfixture.h"

#include <QLabel>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Distinct words of three letters, as many as asked.
std::vector<std::string> ManyWords(int count) {
    std::vector<std::string> words;
    for (int k = 0; k < count; ++k) {
        std::string w = "aaa";
        w[0] = static_cast<char>('a' + k / 676);
        w[1] = static_cast<char>('a' + k / 26 % 26);
        w[2] = static_cast<char>('a' + k % 26);
        words.push_back(w);
    }
    return words;
}

class DictionaryLoadingTest : public PellinFormTest {
protected:
    TDictionaryLoading window;
    tsdtest::TempFolder folder;

    std::string Dictionary(int words) {
        std::string name = "D";
        name += std::to_string(words);
        name += ".tsd";
        const std::string path = folder.File(name);
        tsdtest::WriteBytes(path, tsdtest::MakeDictionary(ManyWords(words)));
        return path;
    }
};

// Guards the window itself: fixed 434 x 81, its caption and text, no close box, not ending
// the program when it goes.
TEST_F(DictionaryLoadingTest, LooksAsDesigned) {
    EXPECT_EQ(window.size(), QSize(434, 81));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Dictionary Loading"));
    auto* label = window.findChild<QLabel*>(QStringLiteral("Label1"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QStringLiteral("Please wait while the dictionary is loaded."));
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowSystemMenuHint));
    EXPECT_FALSE(window.testAttribute(Qt::WA_QuitOnClose));
}

// Guards the progress of a load: the bar spans the dictionary's words and stands at the last
// multiple of 256 words added; a dictionary of fewer than 256 words leaves it at 0; an empty or
// missing one shows an empty bar, never a busy indicator.
TEST_F(DictionaryLoadingTest, LoadMovesTheBar) {
    Words index;
    index.Load(Dictionary(600), &window);
    EXPECT_EQ(window.Minimum(), 0);
    EXPECT_EQ(window.Maximum(), 600);
    EXPECT_EQ(window.Position(), 512);

    index.Load(Dictionary(255), &window);
    EXPECT_EQ(window.Maximum(), 255);
    EXPECT_EQ(window.Position(), 0);

    window.Begin(0);
    EXPECT_GT(window.Maximum(), window.Minimum());
    EXPECT_EQ(window.Position(), 0);
    window.Begin(1000);
    window.Advance(768);
    EXPECT_EQ(window.Position(), 768);
}

// Guards the placement: every showing centres the window on the main window.
TEST_F(DictionaryLoadingTest, CentredOnTheMainWindow) {
    PellinForm = form.get();
    form->FormOnIdle();
    form->move(100, 80);
    window.show();
    const QRect main = form->frameGeometry();
    const QRect mine = window.frameGeometry();
    EXPECT_LE(std::abs(mine.center().x() - main.center().x()), 1);
    EXPECT_LE(std::abs(mine.center().y() - main.center().y()), 1);
    window.close();
    EXPECT_FALSE(window.isVisible());
    PellinForm = nullptr;
}

} // namespace
