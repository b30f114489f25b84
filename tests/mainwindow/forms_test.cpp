// Start-up and exit, and exceptions escaping a handler reported rather than fatal.
#include "fakesoundoutput.h"
#include "modalhelper.h"
#include "testsettings.h"

#include "dialogs/about.h"
#include "dialogs/dictload.h"
#include "dialogs/howto.h"
#include "dialogs/newgame.h"
#include "dialogs/options.h"
#include "gui/application.h"
#include "gui/helpviewer.h"
#include "gui/programicon.h"
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

// Guards start-up and exit: the six windows made in their order (each may use the ones before
// it), the main window shown at the first idle moment with the title letters and the five
// pre-play buttons while the others stay hidden, and the windows destroyed in the reverse
// order (so settings and placements are saved while the others still exist).
TEST(FormsTest, StartUpAndExit) {
    ClearStoredSettings();
    CreationLog log;
    qApp->installEventFilter(&log);
    CreateForms(std::make_unique<FakeSoundOutput>(std::make_shared<SoundLog>()));
    qApp->removeEventFilter(&log);
    const std::vector<QWidget*> forms = {PellinForm,        NewGameForm, OptionsForm,
                                         DictionaryLoading, AboutBox,    HowToPlay};
    int last = -1;
    for (QWidget* form : forms) {
        ASSERT_NE(form, nullptr);
        EXPECT_GT(PositionOf(log.made, form), last);
        last = PositionOf(log.made, form);
    }

    EXPECT_FALSE(PellinForm->isVisible());
    PellinForm->FormOnIdle();
    for (QWidget* form : forms) {
        EXPECT_EQ(form->isVisible(), form == PellinForm) << form->objectName().toStdString();
    }
    for (const char* name :
         {"StartButton", "preplayOptionsButton", "ScoresButton", "aboutButton", "ExitButton"}) {
        EXPECT_TRUE(PellinForm->findChild<QPushButton*>(QString::fromLatin1(name))->isVisible());
    }
    const QImage shot = PellinForm->grab().toImage(); // lays the board out
    const Chip* top = PellinForm->GameBoard->CellAt(11, 1);
    EXPECT_EQ(top->Letter(), "P");
    const Rect b = top->Bounds();
    EXPECT_EQ(shot.pixelColor(PellinForm->BoardToClient(QPoint(b.left + 6, b.top + 20))),
              BoardPainter::DiscColour(top->Value()));
    // Every window carries the program's icon, the help window too.
    const QImage icon = ProgramIcon().pixmap(32, 32).toImage();
    for (QWidget* window : {static_cast<QWidget*>(PellinForm), static_cast<QWidget*>(HowToPlay),
                            static_cast<QWidget*>(HelpViewer::Instance())}) {
        EXPECT_EQ(window->windowIcon().pixmap(32, 32).toImage(), icon)
            << window->objectName().toStdString();
    }

    std::vector<QObject*> gone;
    for (QWidget* form : forms) {
        QObject::connect(form, &QObject::destroyed, [&gone](QObject* o) { gone.push_back(o); });
    }
    DestroyForms();
    EXPECT_EQ(gone, std::vector<QObject*>(forms.rbegin(), forms.rend()));
    EXPECT_TRUE(!PellinForm && !NewGameForm && !OptionsForm && !DictionaryLoading && !AboutBox &&
                !HowToPlay);
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
}

} // namespace
