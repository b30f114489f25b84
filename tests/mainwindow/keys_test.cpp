// The access keys and the Return key of every window of the game, as a player presses them.
#include "fakesoundoutput.h"
#include "testsettings.h"

#include "dialogs/about.h"
#include "dialogs/howto.h"
#include "dialogs/newgame.h"
#include "dialogs/options.h"
#include "dialogs/sounds.h"
#include "dialogs/statistics_form.h"
#include "gui/helpviewer.h"
#include "gui/utils.h"
#include "mainwindow/forms.h"
#include "mainwindow/pelform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

// The access key a caption gives its control ("&&" is a plain ampersand), or none.
QChar AccessKey(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i) != QLatin1Char('&'))
            continue;
        if (text.at(i + 1) == QLatin1Char('&')) {
            ++i;
            continue;
        }
        return text.at(i + 1).toLower();
    }
    return {};
}

QString Caption(const QWidget* widget) {
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (const auto* group = qobject_cast<const QGroupBox*>(widget))
        return group->title();
    return {};
}

class WindowKeys : public ::testing::Test {
protected:
    void SetUp() override {
        ClearStoredSettings();
        CreateForms(std::make_unique<FakeSoundOutput>(std::make_shared<SoundLog>()));
        PellinForm->FormOnIdle();
        SetUrlOpener([this](const QUrl& url) {
            opened.push_back(url);
            return true;
        });
    }
    void TearDown() override {
        SetUrlOpener(nullptr);
        DestroyForms();
    }

    static void Activate(QWidget* window) {
        window->show();
        // Keys reach the active window only; the offscreen screen activates a window on request
        // but not always again after another one was hidden.
        QApplication::setActiveWindow(window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window)) << window->objectName().toStdString();
        ASSERT_EQ(QApplication::activeWindow(), window) << window->objectName().toStdString();
    }

    // Every visible control of the window with an access key has a key of its own, and pressing
    // it (Alt and the key) acts on that control: a button is clicked, a label's field takes the
    // focus, the About box's labels open their links. The buttons' own actions are cut off
    // first, so that pressing Exit or Start changes nothing else.
    void ExpectAccessKeysWork(QWidget* window) {
        Activate(window);
        std::map<QChar, std::vector<QWidget*>> keys;
        for (QWidget* child : window->findChildren<QWidget*>()) {
            const QChar key = AccessKey(Caption(child));
            if (!key.isNull() && child->isVisibleTo(window))
                keys[key].push_back(child);
        }
        const std::string name = window->objectName().toStdString();
        ASSERT_FALSE(keys.empty()) << name;
        for (const auto& [key, controls] : keys) {
            EXPECT_EQ(controls.size(), 1u)
                << name << ": Alt+" << QString(key).toStdString() << " is given to "
                << Caption(controls.front()).toStdString() << " and "
                << Caption(controls.back()).toStdString();
            QWidget* control = controls.front();
            if (!control->isEnabled())
                continue; // a control that is off takes no key
            const std::string what = name + ": " + Caption(control).toStdString();
            if (auto* button = qobject_cast<QAbstractButton*>(control)) {
                QObject::disconnect(button, &QAbstractButton::clicked, nullptr, nullptr);
                QObject::disconnect(button, &QAbstractButton::toggled, nullptr, nullptr);
                QSignalSpy clicked(button, &QAbstractButton::clicked);
                QTest::keyClick(window, key.toLatin1(), Qt::AltModifier);
                EXPECT_TRUE(clicked.count() == 1 || clicked.wait(1000)) << what;
            } else if (auto* label = qobject_cast<QLabel*>(control)) {
                const size_t links = opened.size();
                QTest::keyClick(window, key.toLatin1(), Qt::AltModifier);
                QWidget* buddy = label->buddy();
                if (buddy && buddy->focusPolicy() != Qt::NoFocus)
                    EXPECT_EQ(QApplication::focusWidget(), buddy) << what;
                else
                    EXPECT_EQ(opened.size(), links + 1) << what;
            }
        }
        window->hide();
    }

    std::vector<QUrl> opened;
};

// Guards the access keys of every window: the main window between games and during one (its two
// panels), the high score dialog, Options, Sounds, the statistics, About, How To Play and the
// help.
TEST_F(WindowKeys, AccessKeysAreUniqueAndActOnTheirControl) {
    ExpectAccessKeysWork(PellinForm);
    PellinForm->findChild<QWidget*>(QStringLiteral("PreplayPanel"))->hide();
    PellinForm->findChild<QWidget*>(QStringLiteral("PlayPanel"))->show();
    ExpectAccessKeysWork(PellinForm);
    ExpectAccessKeysWork(NewGameForm);
    ExpectAccessKeysWork(OptionsForm);
    TSoundsForm sounds;
    ExpectAccessKeysWork(&sounds);
    TStatisticsForm statistics;
    ExpectAccessKeysWork(&statistics);
    ExpectAccessKeysWork(AboutBox);
    ExpectAccessKeysWork(HowToPlay);
    ExpectAccessKeysWork(HelpViewer::Instance());
}

// Guards Return in every dialog: it presses the dialog's default button, whichever control has
// the focus and whichever button was used before.
TEST_F(WindowKeys, ReturnPressesEachDialogsDefaultButton) {
    TSoundsForm sounds;
    TStatisticsForm statistics;
    const std::vector<std::pair<QDialog*, const char*>> dialogs = {
        {NewGameForm, "OKButton"}, {OptionsForm, "OKBtn"},     {&sounds, "OKBtn"},
        {AboutBox, "OKButton"},    {HowToPlay, "StartButton"}, {&statistics, "CloseButton"},
    };
    for (const auto& [dialog, name] : dialogs) {
        Activate(dialog);
        auto* defaultButton = dialog->findChild<QPushButton*>(QLatin1String(name));
        ASSERT_NE(defaultButton, nullptr) << name;
        // Another button used last (it takes the focus, and with it the default for a while).
        for (QPushButton* other : dialog->findChildren<QPushButton*>()) {
            if (other != defaultButton && other->isVisible() && other->isEnabled()) {
                other->setFocus();
                break;
            }
        }
        dialog->hide();
        Activate(dialog);
        QObject::disconnect(defaultButton, &QAbstractButton::clicked, nullptr, nullptr);
        QSignalSpy clicked(defaultButton, &QAbstractButton::clicked);
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : dialog,
                        Qt::Key_Return);
        EXPECT_EQ(clicked.count(), 1) << dialog->objectName().toStdString();
        dialog->hide();
    }
}

} // namespace
