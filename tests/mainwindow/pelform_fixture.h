// A main window of its own for each test, on a fresh settings store, with a silent sound
// output.
#pragma once

#include "fakesoundoutput.h"
#include "mainwindow/pelform.h"
#include "model/board.h"
#include "testsettings.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <memory>

class PellinFormTest : public ::testing::Test {
protected:
    std::unique_ptr<TPellinForm> form;

    PellinFormTest() {
        ClearStoredSettings();
        MakeForm();
    }

    void MakeForm() {
        form = std::make_unique<TPellinForm>(
            std::make_unique<FakeSoundOutput>(std::make_shared<SoundLog>()));
    }

    template <typename T> T* Child(const char* name) const {
        T* child = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }

    int OccupiedChips() const {
        int count = 0;
        for (int r = 0; r < 12; ++r) {
            for (int s = 0; s < 18; ++s) {
                count += form->GameBoard->CellAt(r, s)->IsOccupied() ? 1 : 0;
            }
        }
        return count;
    }
};
