// A stand-in for a game saving its high score table, for the crash check
// (scripts/ci-settings-crash.sh), which kills it at random moments and then looks at the file:
//
//   settings_crash_writer write     stores two whole tables in turn, as fast as it can, for ever
//   settings_crash_writer check     prints which table the store holds: A, B, or MIXED
//   settings_crash_writer once      stores table A once and prints how long that took, in ms,
//                                   and "stored" or "given-up"
//
// The settings folder is the one the environment names (XDG_CONFIG_HOME), as for the game.
#include "settings/persist.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>

#include <cstdio>
#include <cstring>

namespace {

constexpr int kRows = 12;

QString RowText(char table, int row) {
    return QStringLiteral("%1\t%2\tWORD%3").arg(1000 - row).arg(QLatin1Char(table)).arg(row);
}

bool Store(char table) {
    Persist store(true);
    for (int row = 0; row < kRows; ++row)
        store.WriteString(QStringLiteral("Evaluation%1").arg(row), RowText(table, row));
    store.WriteString(QStringLiteral("Evaluation%1").arg(kRows), QString());
    return store.Close();
}

// "A" or "B" when every row is that table's, else "MIXED".
const char* Held() {
    Persist store(false);
    for (const char table : {'A', 'B'}) {
        bool whole = true;
        for (int row = 0; row < kRows && whole; ++row) {
            QString text;
            whole = store.ReadString(QStringLiteral("Evaluation%1").arg(row), text) &&
                    text == RowText(table, row);
        }
        if (whole)
            return table == 'A' ? "A" : "B";
    }
    return "MIXED";
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const char* mode = argc > 1 ? argv[1] : "";
    if (std::strcmp(mode, "write") == 0) {
        for (unsigned long long i = 0;; ++i)
            Store(i % 2 == 0 ? 'B' : 'A');
    }
    if (std::strcmp(mode, "check") == 0) {
        std::printf("%s\n", Held());
        return 0;
    }
    if (std::strcmp(mode, "once") == 0) {
        QElapsedTimer timer;
        timer.start();
        const bool stored = Store('A');
        std::printf("%lld %s\n", static_cast<long long>(timer.elapsed()),
                    stored ? "stored" : "given-up");
        return 0;
    }
    std::fprintf(stderr, "usage: settings_crash_writer write|check|once\n");
    return 2;
}
