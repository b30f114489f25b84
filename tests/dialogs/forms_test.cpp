// The forms as the player sees them: design sizes with nothing outside the window and no
// caption cut short, the border each may have, Enter and Esc, the icon, and the About box's
// links.
#include "dialogs/about.h"
#include "dialogs/sounds.h"
#include "dialogs/statistics_form.h"
#include "dialogs_helpers.h"
#include "gui/boardpainter.h"
#include "gui/programicon.h"
#include "gui/utils.h"
#include "testsettings.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using namespace dialogtest;

class Forms : public ::testing::Test {
protected:
    void SetUp() override { ClearStoredSettings(); }

    // Everything inside the client area and inside its own panel, and every caption wide enough
    // for its text.
    static void ExpectNothingClipped(QDialog& dialog) {
        dialog.show();
        QApplication::processEvents();
        for (QWidget* child : dialog.findChildren<QWidget*>()) {
            if (!child->isVisibleTo(&dialog) ||
                child->objectName().startsWith(QLatin1String("qt_")))
                continue;
            const QRect inDialog(child->mapTo(&dialog, QPoint(0, 0)), child->size());
            EXPECT_TRUE(dialog.rect().contains(inDialog))
                << child->objectName().toStdString() << " lies outside the window";
            EXPECT_TRUE(child->parentWidget()->rect().contains(child->geometry()))
                << child->objectName().toStdString() << " lies outside its "
                << child->parentWidget()->objectName().toStdString() << " at "
                << child->geometry().bottom() << " of " << child->parentWidget()->height();
            QString text;
            if (auto* button = qobject_cast<QAbstractButton*>(child))
                text = button->text();
            else if (auto* label = qobject_cast<QLabel*>(child); label && !label->wordWrap())
                text = label->text();
            if (!text.isEmpty()) {
                EXPECT_LE(child->sizeHint().width(), child->width())
                    << child->objectName().toStdString() << " cuts its caption";
            }
            if (auto* edit = qobject_cast<QLineEdit*>(child); edit && edit->isReadOnly()) {
                EXPECT_LT(edit->fontMetrics().horizontalAdvance(edit->text()), edit->width() - 4)
                    << edit->objectName().toStdString() << " cuts its text";
            }
        }
        if (const QString folder = qEnvironmentVariable("PELLIN_SCREENSHOT_DIR"); !folder.isEmpty())
            dialog.grab().save(folder + QLatin1Char('/') + dialog.objectName() +
                               QStringLiteral(".png"));
        dialog.hide();
    }

    // Runs the dialog for real and presses a key in it once it is up.
    static int PressIn(QDialog& dialog, Qt::Key key) {
        QTimer::singleShot(0, &dialog, [&dialog, key] { QTest::keyClick(&dialog, key); });
        return dialog.exec();
    }
};

// Each dialog opens at its design client size; the high score dialog alone can be resized,
// and the Options dialog has no close box.
TEST_F(Forms, DesignSizesAndBorders) {
    ScriptedNewGameForm scores;
    TOptionsForm options;
    TAboutBox about;
    EXPECT_EQ(scores.size(), QSize(570, 389));
    EXPECT_EQ(options.size(), QSize(394, 389)); // 30 taller for the best-word switch
    EXPECT_EQ(about.size(), QSize(409, 277));
    EXPECT_LT(scores.minimumSize().height(), 389);
    EXPECT_GT(scores.maximumSize().height(), 389);
    EXPECT_EQ(options.minimumSize(), options.maximumSize());
    EXPECT_EQ(about.minimumSize(), about.maximumSize());
    EXPECT_FALSE(options.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(scores.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(about.windowTitle() == QStringLiteral("About Pellinoraxis") &&
                options.windowTitle() == QStringLiteral("Options"));
    EXPECT_TRUE(scores.windowTitle().isEmpty());
}

// Nothing is cut off at the design sizes: every component inside its window, every caption
// and read-only text in full.
TEST_F(Forms, NothingIsClipped) {
    ScriptedNewGameForm scores;
    ExpectNothingClipped(scores);
    ScriptedOptionsForm options;
    ExpectNothingClipped(options);
    TAboutBox about;
    ExpectNothingClipped(about);
    TSoundsForm sounds;
    ExpectNothingClipped(sounds);
    TStatisticsForm statistics;
    ExpectNothingClipped(statistics);
}

// Enter chooses the default button and Esc the cancel button, with their modal results.
TEST_F(Forms, EnterAndEscape) {
    ScriptedNewGameForm scores;
    EXPECT_EQ(PressIn(scores, Qt::Key_Return), 1);
    EXPECT_EQ(PressIn(scores, Qt::Key_Escape), 2);
    TOptionsForm options;
    EXPECT_EQ(PressIn(options, Qt::Key_Escape), 2);
    TAboutBox about;
    EXPECT_EQ(PressIn(about, Qt::Key_Escape), 1);
    EXPECT_EQ(PressIn(about, Qt::Key_Return), 1);
}

// The icon is really there (its resource linked in), a true tile on green: the colour of a
// tile worth 3, as P is in the game.
TEST_F(Forms, ProgramIconIsATileOnGreen) {
    const QImage image = ProgramIcon().pixmap(64, 64).toImage();
    ASSERT_FALSE(image.isNull());
    const QColor centre = image.pixelColor(16, 16);
    const QColor corner = image.pixelColor(6, 6);
    EXPECT_EQ(centre, BoardPainter::DiscColour(3));
    EXPECT_EQ(corner.name(), QStringLiteral("#569c56"));
    TAboutBox about;
    EXPECT_FALSE(about.windowIcon().isNull());
}

// The links open what they show: the support address with the support subject, the home
// page; a click leaves the About box open, and an edited link goes to its new address.
TEST_F(Forms, AboutLinksOpenWhatTheyShow) {
    std::vector<QUrl> opened;
    SetUrlOpener([&](const QUrl& url) {
        opened.push_back(url);
        return true;
    });
    TAboutBox about;
    auto* mail = about.findChild<QLineEdit*>(QStringLiteral("MailSupportLink"));
    auto* home = about.findChild<QLineEdit*>(QStringLiteral("HomePageLink"));
    EXPECT_EQ(mail->text(), QStringLiteral("pellinoraxis-support@corvane.example"));
    EXPECT_EQ(home->text(), QStringLiteral("https://www.corvane.example/Pellinoraxis.html"));
    EXPECT_EQ(mail->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(home->cursor().shape(), Qt::PointingHandCursor);

    bool openAfterClicks = false;
    QTimer::singleShot(0, &about, [&] {
        QTest::mouseClick(mail, Qt::LeftButton);
        QTest::mouseClick(home, Qt::LeftButton);
        QTest::mouseClick(home, Qt::RightButton);
        openAfterClicks = about.isVisible();
        about.accept();
    });
    about.exec();
    home->setText(QStringLiteral("https://mirror.example/"));
    QTest::mouseClick(home, Qt::LeftButton);
    SetUrlOpener({});

    EXPECT_TRUE(openAfterClicks);
    ASSERT_EQ(opened.size(), 3u);
    EXPECT_EQ(opened[0].scheme(), QStringLiteral("mailto"));
    EXPECT_EQ(opened[0].path(), QStringLiteral("pellinoraxis-support@corvane.example"));
    EXPECT_EQ(opened[0].query(QUrl::FullyDecoded),
              QStringLiteral("subject=Pellinoraxis Support Request"));
    EXPECT_EQ(opened[1], QUrl(QStringLiteral("https://www.corvane.example/Pellinoraxis.html")));
    EXPECT_EQ(opened[2], QUrl(QStringLiteral("https://mirror.example/")));
}

// The Hall of Fame button opens the scores page.
TEST_F(Forms, HallOfFameOpensTheScoresPage) {
    UrlCatcher urls;
    ScriptedNewGameForm scores;
    scores.findChild<QAbstractButton*>(QStringLiteral("hallOfFameButton"))->click();
    ASSERT_EQ(urls.opened.size(), 1u);
    EXPECT_EQ(urls.opened[0],
              QUrl(QStringLiteral("https://www.corvane.example/PellinoraxisScores.html")));
}

} // namespace
