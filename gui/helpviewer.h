#pragma once

#include <QDialog>
#include <QString>

#include <memory>

class QTextBrowser;

namespace Ui {
class HelpViewer;
}

// The game's help: one modeless window over the help file beside the program, an HTML file
// whose topics are anchors named by their context numbers (20 the game, 10 high scores, 30
// options, 40 and 50 the pause and quit questions, 70 about, 120 strategy and tips).
//
// The window is made once, at the first call for help, and reused; it goes with the
// application. A help file that is missing, unreadable or absurdly large shows a plain
// message in the window instead of the topic.
class HelpViewer : public QDialog {
    Q_OBJECT
public:
    static constexpr qint64 MaxHelpFileBytes = 8 * 1024 * 1024;

    explicit HelpViewer(QWidget* parent = nullptr);
    ~HelpViewer() override;

    // Shows the window scrolled to the topic; an unknown topic shows the contents.
    void ShowTopic(int context);
    // Whether the help file was read (false: the window shows why not).
    bool HelpLoaded() const { return loaded; }
    QTextBrowser* Browser() const;

    // The one help window; made on first use when create is true, else possibly null.
    static HelpViewer* Instance(bool create = true);
    // The help file read by the window made next ("Pellinoraxis.hlp" beside the program
    // unless set); setting it again drops the window made from the old file.
    static void SetHelpFile(const QString& path);
    static QString HelpFile();

private:
    void Load();
    void ShowProblem(const QString& what);
    void MakeUsableOverModalWindow();

    std::unique_ptr<Ui::HelpViewer> ui;
    bool loaded = false;
};

// Opens the help window at the topic with that context number.
void ShowHelpTopic(int context);
