// The main() of every Qt test program: the tests get an application object, the offscreen
// platform and a settings store of their own in a fresh temporary folder, so nothing a test
// does can touch the real player's settings, high scores or sound scheme.
#include "testsettings.h"

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);

    QTemporaryDir home(QDir::tempPath() + QStringLiteral("/pellinoraxis-tests-XXXXXX"));
    if (!home.isValid()) {
        std::fprintf(stderr, "cannot make a temporary folder for the test settings\n");
        return 1;
    }
    const QString config = home.filePath(QStringLiteral("config"));
    QDir().mkpath(config);
    // Everything that finds the user's folders through the environment lands in the
    // temporary folder too, before Qt reads the environment.
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", config.toLocal8Bit());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
    qputenv("XDG_CACHE_HOME", home.filePath(QStringLiteral("cache")).toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
        QSettings::setPath(format, QSettings::UserScope, config);
        QSettings::setPath(format, QSettings::SystemScope, home.filePath(QStringLiteral("system")));
    }
    SetStoredSettingsFolder(config);

    QApplication app(argc, argv);
    // The tests run inside the event loop, as the game's code does, and leaving it gives
    // everything that tidies up when the application quits its chance to run.
    int result = 1;
    QTimer::singleShot(0, &app, [&result] {
        result = RUN_ALL_TESTS();
        QCoreApplication::exit(result);
    });
    QApplication::exec();
    return result;
}
