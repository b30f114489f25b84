// Start-up and exit: the six windows made in their order and destroyed in the reverse order,
// the main window shown at the first idle moment with the title letters and the pre-play
// buttons; and exceptions escaping a handler reported, not fatal.
#include "fakesoundoutput.h"
#include "modalhelper.h"
#include "testsettings.h"

#include "dialogs/about.h"
#include "dialogs/howto.h"
#include "dialogs/newgame.h"
#include "dialogs/options.h"
#include "dictionary/dictload.h"
#include "mainwindow/application.h"
#include "mainwindow/forms.h"
#include "mainwindow/pelform.h"
#include "model/board.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

// Records every widget as it is made (Qt tells each new widget with a Create event).
class CreationLog : public QObject {
public:
    std::vector<QObject*> made;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Create) {
            made.push_back(watched);
        }
        return false;
    }
};

int PositionOf(const std::vector<QObject*>& list, QObject* object) {
    for (size_t k = 0; k < list.size(); ++k) {
        if (list[k] == object) {
            return static_cast<int>(k);
        }
    }
    return -1;
}

// Guards the start-up order (each form may use the ones before it) and the exit order (the
// reverse, so settings and placements are saved while the others still exist), with every
// global set in between and cleared after.
TEST(FormsTest, CreatedInOrderAndDestroyedInReverse) {
    ClearStoredSettings();
    CreationLog log;
    qApp->installEventFilter(&log);
    CreateForms(std::make_unique<FakeSoundOutput>(std::make_shared<SoundLog>()));
    qApp->removeEventFilter(&log);

    const std::vector<QObject*> forms = {PellinForm,        NewGameForm, OptionsForm,
                                         DictionaryLoading, AboutBox,    HowToPlay};
    int last = -1;
    for (QObject* form : forms) {
        ASSERT_NE(form, nullptr);
        const int at = PositionOf(log.made, form);
        EXPECT_GT(at, last);
        last = at;
    }
    EXPECT_FALSE(PellinForm->isVisible());

    std::vector<QObject*> gone;
    for (QObject* form : forms) {
        QObject::connect(form, &QObject::destroyed, [&gone](QObject* o) { gone.push_back(o); });
    }
    DestroyForms();
    ASSERT_EQ(gone.size(), forms.size());
    for (size_t k = 0; k < forms.size(); ++k) {
        EXPECT_EQ(gone[k], forms[forms.size() - 1 - k]);
    }
    EXPECT_EQ(PellinForm, nullptr);
    EXPECT_EQ(NewGameForm, nullptr);
    EXPECT_EQ(OptionsForm, nullptr);
    EXPECT_EQ(DictionaryLoading, nullptr);
    EXPECT_EQ(AboutBox, nullptr);
    EXPECT_EQ(HowToPlay, nullptr);
}

// Guards the first showing: at the first idle moment the main window appears with the title
// letters on the board and the Start, Options, Scores, About and Exit buttons, and the other
// windows stay hidden.
TEST(FormsTest, MainWindowShownWithTheTitleBoard) {
    ClearStoredSettings();
    CreateForms(std::make_unique<FakeSoundOutput>(std::make_shared<SoundLog>()));
    PellinForm->FormOnIdle();
    EXPECT_TRUE(PellinForm->isVisible());
    for (const char* name :
         {"StartButton", "preplayOptionsButton", "ScoresButton", "aboutButton", "ExitButton"}) {
        auto* button = PellinForm->findChild<QPushButton*>(QString::fromLatin1(name));
        ASSERT_NE(button, nullptr);
        EXPECT_TRUE(button->isVisible()) << name;
    }
    const QImage shot = PellinForm->grab().toImage();
    const Chip* top = PellinForm->GameBoard->CellAt(11, 1);
    EXPECT_EQ(top->Letter(), "P");
    const Rect b = top->Bounds();
    const QPoint fill = PellinForm->BoardToClient(QPoint(b.left + 6, b.top + 20));
    EXPECT_EQ(shot.pixelColor(fill), BoardPainter::DiscColour(top->Value()));
    for (QWidget* other : std::initializer_list<QWidget*>{NewGameForm, OptionsForm,
                                                          DictionaryLoading, AboutBox, HowToPlay}) {
        EXPECT_FALSE(other->isVisible());
    }
    DestroyForms();
}

// Guards the report of an exception escaping an event handler: shown in a message box with its
// text, counted as an unhandled event, and the program goes on.
TEST(ApplicationTest, EscapingExceptionIsReported) {
    const int before = TApplication::ReportedExceptions();
    QString shown;
    WhenModal<QMessageBox>([&shown](QMessageBox* box) {
        shown = box->text();
        box->accept();
    });
    const bool handled =
        DeliverReportingExceptions([]() -> bool { throw std::runtime_error("out of tiles"); });
    EXPECT_FALSE(handled);
    EXPECT_EQ(TApplication::ReportedExceptions(), before + 1);
    EXPECT_EQ(shown, QStringLiteral("out of tiles"));
    EXPECT_TRUE(DeliverReportingExceptions([] { return true; }));
    EXPECT_EQ(TApplication::ReportedExceptions(), before + 1);
}

} // namespace
