#pragma once

// Shared by the dialog tests: the dialogs with their modal showing replaced by a scripted
// answer, and a folder of dictionaries for the Options dialog to list.

#include "dialogs/newgame.h"
#include "dialogs/options.h"
#include "settings/persist.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QUrl>

#include <functional>
#include <optional>
#include <ostream>
#include <vector>

// Failures show texts as text.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace dialogtest {

class ScriptedNewGameForm : public TNewGameForm {
public:
    std::function<int(ScriptedNewGameForm&)> answer;
    int shown = 0;

    QTreeWidget* Table() { return findChild<QTreeWidget*>(QStringLiteral("HighScoreTable")); }
    QString Row(int i) {
        const QTreeWidgetItem* item = Table()->topLevelItem(i);
        if (!item)
            return QStringLiteral("<none>");
        QStringList texts;
        for (int c = 0; c < item->columnCount(); ++c)
            texts << item->text(c);
        return texts.join(QLatin1Char('|'));
    }
    int Rows() { return Table()->topLevelItemCount(); }

protected:
    int RunModal() override {
        ++shown;
        return answer ? answer(*this) : 2;
    }
};

class ScriptedOptionsForm : public TOptionsForm {
public:
    std::function<int(ScriptedOptionsForm&)> answer;

    template <typename T> T* Get(const char* name) { return findChild<T*>(QLatin1String(name)); }
    QLineEdit* Nickname() { return Get<QLineEdit>("NicknameField"); }
    QComboBox* Dictionaries() { return Get<QComboBox>("DictionaryList"); }
    QStringList Entries() {
        QStringList names;
        for (int i = 0; i < Dictionaries()->count(); ++i)
            names << Dictionaries()->itemText(i);
        return names;
    }

protected:
    int RunModal() override { return answer ? answer(*this) : 2; }
};

// A folder holding copies of the game's dictionaries under chosen names, and other entries.
class DictionaryFolder {
public:
    DictionaryFolder() { TOptionsForm::SetDictionaryFolder(dir.path()); }
    ~DictionaryFolder() { TOptionsForm::SetDictionaryFolder(QString()); }

    void AddValid(const QString& name) const {
        QFile::copy(QStringLiteral(PELLIN_SOURCE_DIR "/data/Evaluation.tsd"), dir.filePath(name));
    }
    void AddFile(const QString& name, const QByteArray& bytes) const {
        QFile f(dir.filePath(name));
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
    }
    void AddFolder(const QString& name) const { QDir(dir.path()).mkdir(name); }

    QTemporaryDir dir;
};

// Catches the addresses handed to the shell for the schemes the game opens, for as long as it
// lives, so a test sees what would have been opened and nothing is.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    UrlCatcher() {
        for (const char* scheme : {"http", "https", "mailto"})
            QDesktopServices::setUrlHandler(QLatin1String(scheme), this, "Open");
    }
    ~UrlCatcher() override {
        for (const char* scheme : {"http", "https", "mailto"})
            QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
    }
    std::vector<QUrl> opened;

public slots:
    void Open(const QUrl& url) { opened.push_back(url); }
};

inline void Store(const QString& name, const QString& text) {
    Persist(true).WriteString(name, text);
}
inline std::optional<QString> Stored(const QString& name) {
    QString text;
    if (!Persist(false).ReadString(name, text))
        return std::nullopt;
    return text;
}
// Stores a table the way the dialog does: rows, then an empty terminator.
inline void StoreTable(const QString& dictionary, const std::vector<QString>& rows) {
    Persist store(true);
    for (std::size_t i = 0; i < rows.size(); ++i)
        store.WriteString(dictionary + QString::number(i), rows[i]);
    store.WriteString(dictionary + QString::number(rows.size()), QString());
}
// The rows a later load would see.
inline std::vector<QString> StoredTable(const QString& dictionary) {
    std::vector<QString> rows;
    for (int i = 0; i < 100; ++i) {
        const auto text = Stored(dictionary + QString::number(i));
        if (!text || text->isEmpty())
            break;
        rows.push_back(*text);
    }
    return rows;
}
inline std::vector<QString> DescendingRows(int count, int top, int step) {
    std::vector<QString> rows;
    for (int i = 0; i < count; ++i)
        rows.push_back(QStringLiteral("%1\tP%2\tW%2").arg(top - i * step).arg(i));
    return rows;
}

} // namespace dialogtest
