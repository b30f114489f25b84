#include "dialogs/newgame.h"

#include "dialogs/addresses.h"
#include "dialogs/options.h"
#include "dialogs/scoretable.h"
#include "dialogs/statistics.h"
#include "dialogs/statistics_form.h"
#include "gui/formstyle.h"
#include "gui/helpviewer.h"
#include "gui/programicon.h"
#include "gui/utils.h"
#include "settings/persist.h"
#include "ui_newgame.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QHeaderView>
#include <QLayout>
#include <QPushButton>
#include <QResizeEvent>
#include <QTreeWidget>

#include <algorithm>
#include <cstdlib>
#include <vector>

TNewGameForm* NewGameForm = nullptr;

namespace {

const QString kColumnWidthName = QStringLiteral("ScoresColumnWidth");
constexpr int kDesignColumnWidths[] = {80, 194, 137};
// A stored width beyond this is a hand-edited value, not one the player dragged to.
constexpr int kMaxColumnWidth = 4000;

QString FromStd(const std::string& text) {
    return QString::fromStdString(text);
}

// A stored dictionary name must name a file in the program's folder and nothing else: no
// folder (a separator, or the names of the folder itself and the one above it), and no ';',
// which would split the one path into two.
bool UsableDictionaryName(const QString& name) {
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) &&
           !name.contains(QLatin1Char(';'));
}

} // namespace

TNewGameForm::TNewGameForm(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TNewGameForm>()) {
    ui->setupUi(this);
    table = ui->HighScoreTable;
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowIcon(ProgramIcon());

    UsePixelFont(this, 14);
    for (QPushButton* button :
         {ui->OKButton, ui->CancelButton, ui->helpButton, ui->statisticsButton, ui->OptionsButton,
          ui->hallOfFameButton, ui->mailHighScoreButton})
        UsePixelFont(button, 18);

    QHeaderView* header = table->header();
    header->setSectionsClickable(false);
    header->setSectionsMovable(false);
    header->setStretchLastSection(false);
    for (int i = 0; i < 3; ++i)
        table->setColumnWidth(i, kDesignColumnWidths[i]);
    KeepSelectionVisible(table);

    connect(ui->OKButton, &QPushButton::clicked, this, [this] { done(1); });
    connect(ui->CancelButton, &QPushButton::clicked, this, [this] { done(2); });
    connect(ui->helpButton, &QPushButton::clicked, this, &TNewGameForm::HelpButtonClick);
    connect(ui->OptionsButton, &QPushButton::clicked, this, &TNewGameForm::OptionsButtonClick);
    connect(ui->statisticsButton, &QPushButton::clicked, this,
            &TNewGameForm::StatisticsButtonClick);
    connect(ui->hallOfFameButton, &QPushButton::clicked, this,
            &TNewGameForm::HallOfFameButtonClick);
    connect(ui->mailHighScoreButton, &QPushButton::clicked, this,
            &TNewGameForm::MailHighScoreButtonClick);
    AddHelpKey(this, HelpContext);

    GroupCaption = ui->HighScoresGroup->title();
    ReadSettings();
    TransferScores(false);
}

TNewGameForm::~TNewGameForm() {
    SaveSettings();
    if (NewGameForm == this)
        NewGameForm = nullptr;
}

void TNewGameForm::ReadSettings() {
    Persist store(false);
    // Hand-edited values are checked before they replace a default: an empty nickname could
    // never be accepted by the Options dialog, and a dictionary name must stay a plain name.
    QString text;
    if (store.ReadString(QStringLiteral("Nickname"), text) && !text.trimmed().isEmpty())
        Nickname = text.left(TOptionsForm::MaxNicknameLength);
    if (store.ReadString(QStringLiteral("Dictionary"), text) && UsableDictionaryName(text))
        Dictionary = text;
    store.ReadBool(QStringLiteral("SelectTileSounds"), SelectTileSounds);
    store.ReadBool(QStringLiteral("EnterWordSounds"), EnterWordSounds);
    store.ReadBool(QStringLiteral("EndRoundSounds"), EndRoundSounds);
    store.ReadBool(QStringLiteral("HowToPlay"), HowToPlay);
    store.ReadBool(QStringLiteral("ShowBestWordLeft"), ShowBestWordLeft);
    Qt::WindowStates state = windowState();
    store.FormPlacement(*this, &state);
    TransferColumnWidths(store, false);
}

void TNewGameForm::SaveSettings() {
    Persist store(true);
    store.WriteString(QStringLiteral("Nickname"), Nickname);
    store.WriteString(QStringLiteral("Dictionary"), Dictionary);
    store.WriteBool(QStringLiteral("SelectTileSounds"), SelectTileSounds);
    store.WriteBool(QStringLiteral("EnterWordSounds"), EnterWordSounds);
    store.WriteBool(QStringLiteral("EndRoundSounds"), EndRoundSounds);
    store.WriteBool(QStringLiteral("HowToPlay"), HowToPlay);
    store.WriteBool(QStringLiteral("ShowBestWordLeft"), ShowBestWordLeft);
    Qt::WindowStates state = windowState();
    store.FormPlacement(*this, &state);
    TransferColumnWidths(store, true);
}

void TNewGameForm::TransferColumnWidths(Persist& store, bool save) {
    for (int i = 0; i < table->columnCount(); ++i) {
        const QString name = kColumnWidthName + QString::number(i);
        if (save) {
            store.WriteInteger(name, table->columnWidth(i));
            continue;
        }
        int32_t width = 0;
        // A column narrower than its heading would hide what it holds, and one wider than
        // any screen could not be found again.
        if (store.ReadInteger(name, width) && width <= kMaxColumnWidth)
            table->setColumnWidth(i, std::max(width, table->header()->sectionSizeHint(i)));
    }
}

bool TNewGameForm::TransferScores(bool save) {
    if (save) {
        Persist store(true);
        for (int i = 0; i < scoretable::kMaxStoredRows; ++i) {
            const QString name = Dictionary + QString::number(i);
            if (i >= table->topLevelItemCount()) {
                store.WriteString(name, QString());
                break;
            }
            const QTreeWidgetItem* item = table->topLevelItem(i);
            scoretable::Row row{item->text(0).toStdString(), {}};
            for (int c = 1; c < item->columnCount(); ++c)
                row.subItems.push_back(item->text(c).toStdString());
            store.WriteString(name, FromStd(scoretable::FormatStoredRow(row)));
        }
        ScoresUnsaved = !store.Close();
        if (ScoresUnsaved && !ToldScoresUnsaved) {
            ToldScoresUnsaved = true;
            TellPlayer(QStringLiteral("Your high scores cannot be saved: the game cannot write "
                                      "its settings file\n\n%1\n\nYou can go on playing, but "
                                      "the scores of this session will be gone when the game "
                                      "ends.")
                           .arg(Persist::Location()));
        }
        return !ScoresUnsaved;
    }

    ui->HighScoresGroup->setTitle(Dictionary + GroupCaption);
    table->clear();
    NewScoreRow = -1;
    // The new score, if any, belongs to the table just left.
    ui->mailHighScoreButton->setEnabled(false);
    Persist store(false);
    QList<QTreeWidgetItem*> items;
    for (int i = 0; i < scoretable::kMaxStoredRows; ++i) {
        QString text;
        if (!store.ReadString(Dictionary + QString::number(i), text) || text.isEmpty())
            break;
        const scoretable::Row row = scoretable::ParseStoredRow(text.toStdString());
        auto* item = new QTreeWidgetItem;
        item->setText(0, FromStd(row.caption));
        for (std::size_t c = 0; c < row.subItems.size(); ++c)
            item->setText(static_cast<int>(c) + 1, FromStd(row.subItems[c]));
        items.append(item);
    }
    table->addTopLevelItems(items);
    return true;
}

void TNewGameForm::ReloadScores() {
    if (!ScoresUnsaved)
        TransferScores(false);
}

void TNewGameForm::TellPlayer(const QString& text) {
    ShowCenteredMessage(QApplication::activeWindow(), text, QMessageBox::Warning, QMessageBox::Ok,
                        HelpContext);
}

void TNewGameForm::PutNewScoreRow(bool rewrite, int index) {
    QTreeWidgetItem* item = nullptr;
    if (rewrite) {
        item = table->topLevelItem(index);
        if (!item)
            return;
    } else {
        item = new QTreeWidgetItem;
        table->insertTopLevelItem(index, item);
    }
    item->setText(0, QString::number(NewScore));
    item->setText(1, FromStd(scoretable::WithoutTabs(Nickname.toStdString())));
    item->setText(2, FromStd(scoretable::WithoutTabs(NewBestWord.toStdString())));
    TransferScores(true);
}

int TNewGameForm::RowHeight() {
    if (table->topLevelItemCount() > 0)
        return table->visualItemRect(table->topLevelItem(0)).height();
    // An empty list has no row to measure; a row that is there for a moment has the height
    // every row will have.
    auto* probe = new QTreeWidgetItem(
        QStringList{QStringLiteral("0"), QStringLiteral("A"), QStringLiteral("A")});
    table->addTopLevelItem(probe);
    const int height = table->visualItemRect(probe).height();
    delete probe;
    return height;
}

int TNewGameForm::RowsPerPage() {
    if (!isVisible()) {
        // A hidden window lays itself out and tells its children their sizes only as it is
        // shown, but the table is trimmed to the page before that: settle the layouts now and
        // let the list know its size, so a dialog sized by the player keeps its rows.
        ensurePolished();
        if (layout())
            layout()->activate();
        for (QWidget* child : findChildren<QWidget*>()) {
            if (child->layout())
                child->layout()->activate();
        }
        QResizeEvent resize(table->size(), table->size());
        QCoreApplication::sendEvent(table, &resize);
    }
    const int height = RowHeight();
    return height > 0 ? table->viewport()->height() / height : 0;
}

int TNewGameForm::TopRow() {
    const QModelIndex top = table->indexAt(QPoint(1, 1));
    return top.isValid() ? top.row() : 0;
}

void TNewGameForm::SelectRow(int index) {
    if (QTreeWidgetItem* item = table->topLevelItem(index))
        table->setCurrentItem(item);
}

int TNewGameForm::ShowScores(TScoresMode mode, uint32_t score, const QString& bestWord) {
    switch (mode) {
    case smGameEnded:
        setWindowTitle(QStringLiteral("Game Ended"));
        break;
    case smGameOver:
        setWindowTitle(QStringLiteral("Game Over"));
        break;
    default:
        setWindowTitle(QStringLiteral("Scores"));
        break;
    }
    NewScoreRow = -1;
    NewScore = score;
    if (score != 0) {
        // Another copy of the game may have stored a score since this one read the table;
        // the new score goes into the table as it is now, so that row is kept.
        ReloadScores();
        NewBestWord = bestWord;
        const int perPage = RowsPerPage();
        const int keep = scoretable::KeepCount(perPage);
        std::vector<int64_t> scores;
        for (int i = 0; i < table->topLevelItemCount(); ++i)
            scores.push_back(
                scoretable::LeadingScore(table->topLevelItem(i)->text(0).toStdString()));
        const int position = scoretable::RankPosition(scores, score);
        for (int trim = scoretable::RowsToTrim(table->topLevelItemCount(), keep, position);
             trim > 0; --trim)
            delete table->takeTopLevelItem(table->topLevelItemCount() - 1);
        if (position < keep) {
            PutNewScoreRow(false, position);
            NewScoreRow = position;
            const int top = TopRow();
            if (position < top || position >= top + perPage)
                table->scrollToItem(table->topLevelItem(position),
                                    QAbstractItemView::PositionAtBottom);
        }
    }
    if (NewScoreRow == -1) {
        table->clearSelection();
        table->setCurrentItem(nullptr);
    } else {
        SelectRow(NewScoreRow);
    }
    // Mailing is offered only for a score that has just entered the table.
    ui->mailHighScoreButton->setEnabled(false);
    ui->mailHighScoreButton->setEnabled(NewScoreRow != -1);

    const int result = RunModal();
    SaveSettings();
    return result;
}

void TNewGameForm::showEvent(QShowEvent* event) {
    // Whichever button the player used last took the default as it took the focus; every
    // showing starts again from Start, which Return presses.
    ui->OKButton->setDefault(true);
    ui->OKButton->setFocus();
    QDialog::showEvent(event);
}

void TNewGameForm::hideEvent(QHideEvent* event) {
    // Stored as the dialog goes, while its native window (which the placement is read from)
    // still exists: Qt lets it go when the dialog closes.
    {
        Persist store(true);
        Qt::WindowStates state = windowState();
        store.FormPlacement(*this, &state);
    }
    QDialog::hideEvent(event);
}

int TNewGameForm::RunModal() {
    return exec();
}

void TNewGameForm::reject() {
    done(2);
}

void TNewGameForm::SetHowToPlay(bool value) {
    if (value == HowToPlay)
        return;
    HowToPlay = value;
    Persist(true).WriteBool(QStringLiteral("HowToPlay"), HowToPlay);
}

void TNewGameForm::EditOptions(bool allowDictionaryChange) {
    if (!OptionsForm)
        return;
    QString nickname = Nickname;
    QString dictionary = Dictionary;
    const int result =
        OptionsForm->Execute(allowDictionaryChange, HowToPlay, EndRoundSounds, EnterWordSounds,
                             SelectTileSounds, dictionary, nickname, &ShowBestWordLeft);
    if (result != 1)
        return;
    // The nickname first, so that a new score is renamed (and saved) in the table of the
    // dictionary it was made with, before a dictionary change loads another table.
    if (nickname != Nickname) {
        Nickname = nickname;
        if (allowDictionaryChange) {
            if (NewScoreRow != -1)
                RenameNewScore();
            TransferScores(true);
        }
    }
    if (dictionary != Dictionary) {
        Dictionary = dictionary;
        TransferScores(false);
    }
    SaveSettings();
}

void TNewGameForm::RenameNewScore() {
    // The row is looked for again in the table as stored now: another copy of the game may
    // have added rows above it, or pushed it out, since it went in.
    const QTreeWidgetItem* item = table->topLevelItem(NewScoreRow);
    if (!item)
        return;
    const QStringList wanted{item->text(0), item->text(1), item->text(2)};
    const int near = NewScoreRow;
    ReloadScores();
    NewScoreRow = -1;
    for (int i = 0; i < table->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* row = table->topLevelItem(i);
        const QStringList texts{row->text(0), row->text(1), row->text(2)};
        // Of equal rows, the one nearest where the new score went in.
        if (texts == wanted &&
            (NewScoreRow == -1 || std::abs(i - near) < std::abs(NewScoreRow - near)))
            NewScoreRow = i;
    }
    if (NewScoreRow == -1)
        return;
    PutNewScoreRow(true, NewScoreRow);
    SelectRow(NewScoreRow);
    ui->mailHighScoreButton->setEnabled(true);
}

void TNewGameForm::OptionsButtonClick() {
    EditOptions(true);
}

void TNewGameForm::HelpButtonClick() {
    ShowHelpTopic(HelpContext);
}

void TNewGameForm::StatisticsButtonClick() {
    if (!statisticsForm)
        statisticsForm = new TStatisticsForm(this);
    statisticsForm->Execute(Dictionary);
}

bool TNewGameForm::RecordGame(const statistics::GameSummary& game) {
    // Read and written through one store, so that a game another copy of the game recorded a
    // moment ago is added to, not written over.
    Persist store(true);
    statistics::PlayerStatistics figures;
    TransferStatistics(store, Dictionary, figures, false);
    statistics::RecordGame(figures, game);
    TransferStatistics(store, Dictionary, figures, true);
    return store.Close();
}

// Addresses go to the shell the way every link of the game does; the result is dropped, since
// with no browser or mail program there is nothing useful to tell the player.
void TNewGameForm::HallOfFameButtonClick() {
    (void)QDesktopServices::openUrl(QUrl(QString::fromLatin1(kHallOfFameAddress)));
}

QUrl TNewGameForm::HighScoreMailUrl(const QString& score, const QString& player,
                                    const QString& bestWord, const QString& dictionary) {
    const QString subject = QStringLiteral("Pellinoraxis High Score: %1").arg(score);
    const QString body = QStringLiteral("Score: %1\r\nPlayer: %2\r\nBest word: %3\r\n"
                                        "Dictionary: %4\r\n")
                             .arg(score, player, bestWord, dictionary);
    QByteArray encoded = "mailto:";
    encoded += QByteArray(kSupportMailAddress);
    encoded += "?subject=" + QUrl::toPercentEncoding(subject);
    encoded += "&body=" + QUrl::toPercentEncoding(body);
    return QUrl::fromEncoded(encoded, QUrl::StrictMode);
}

void TNewGameForm::MailHighScoreButtonClick() {
    const QTreeWidgetItem* row = NewScoreRow == -1 ? nullptr : table->topLevelItem(NewScoreRow);
    if (!row)
        return;
    (void)QDesktopServices::openUrl(
        HighScoreMailUrl(row->text(0), row->text(1), row->text(2), Dictionary));
}
