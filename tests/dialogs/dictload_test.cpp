// The dictionary loading window: the progress a word index load gives it, and its place over
// the main window.
#include "tests/mainwindow/pelform_fixture.h"

#include "dialogs/dictload.h"
#include "model/words.h"
#include "tests/dictionary/tsdfixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

class DictionaryLoadingTest : public PellinFormTest {
protected:
    TDictionaryLoading window;
    tsdtest::TempFolder folder;

    // A dictionary of that many distinct three-letter words.
    std::string Dictionary(int count) {
        std::vector<std::string> words;
        for (int k = 0; k < count; ++k) {
            words.push_back({static_cast<char>('a' + k / 676), static_cast<char>('a' + k / 26 % 26),
                             static_cast<char>('a' + k % 26)});
        }
        std::string path = folder.File(std::to_string(count));
        tsdtest::WriteBytes(path, tsdtest::MakeDictionary(words));
        return path;
    }
};

// Guards the progress of a load: the bar spans the dictionary's words and stands at the last
// multiple of 256 added; fewer than 256 words never move it; an empty range shows an empty
// bar rather than a busy one. The window is fixed at 434 x 81, without a close box.
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

    EXPECT_EQ(window.size(), QSize(434, 81));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowCloseButtonHint));
}

// Guards the placement: every showing centres the window on the main window.
TEST_F(DictionaryLoadingTest, CentredOnTheMainWindow) {
    PellinForm = form.get();
    form->FormOnIdle();
    form->move(100, 80);
    window.show();
    const QPoint offset = window.frameGeometry().center() - form->frameGeometry().center();
    EXPECT_LE(std::abs(offset.x()) + std::abs(offset.y()), 1);
    PellinForm = nullptr;
}

} // namespace
