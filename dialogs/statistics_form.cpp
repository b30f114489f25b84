#include "dialogs/statistics_form.h"

#include "gui/formstyle.h"
#include "gui/helpviewer.h"
#include "gui/programicon.h"
#include "gui/utils.h"
#include "settings/persist.h"
#include "ui_statistics_form.h"

#include <QPushButton>

#include <algorithm>

namespace {

const QString kGamesPlayed = QStringLiteral("GamesPlayed");
const QString kTotalPoints = QStringLiteral("TotalPoints");
const QString kBestGame = QStringLiteral("BestGame");
const QString kBestWord = QStringLiteral("BestWord");
const QString kBestWordScore = QStringLiteral("BestWordScore");
const QString kLongestWord = QStringLiteral("LongestWord");
const QString kLongestWordLetters = QStringLiteral("LongestWordLetters");
const QString kWordsEntered = QStringLiteral("WordsEntered");

// One figure kept as a 32-bit integer: saving holds it within the integer's range, loading
// takes a negative (hand-edited) number as the 0 it stands in for.
void TransferCount(Persist& store, const QString& name, int64_t& value, bool save) {
    if (save) {
        store.WriteInteger(
            name, static_cast<int32_t>(std::clamp<int64_t>(value, 0, statistics::kMaxCount)));
        return;
    }
    int32_t stored = 0;
    value = store.ReadInteger(name, stored) ? std::max<int32_t>(stored, 0) : 0;
}

// Longer than any word a dictionary holds; a hand-edited text beyond it is cut here rather than
// stretch the window past the screen.
constexpr int kMaxWordText = 64;

void TransferText(Persist& store, const QString& name, std::string& value, bool save) {
    if (save) {
        store.WriteString(name, QString::fromStdString(value));
        return;
    }
    QString stored;
    value =
        store.ReadString(name, stored) ? stored.left(kMaxWordText).toStdString() : std::string();
}

QString WordAndFigure(const std::string& word, int64_t figure, const QString& unit) {
    if (word.empty())
        return QStringLiteral("none yet");
    return QStringLiteral("%1 (%2 %3)").arg(QString::fromStdString(word)).arg(figure).arg(unit);
}

} // namespace

QString StatisticsValueName(const QString& dictionary, const QString& field) {
    return QStringLiteral("Stats.") + dictionary + QLatin1Char('.') + field;
}

void TransferStatistics(Persist& store, const QString& dictionary,
                        statistics::PlayerStatistics& stats, bool save) {
    const auto name = [&dictionary](const QString& field) {
        return StatisticsValueName(dictionary, field);
    };
    TransferCount(store, name(kGamesPlayed), stats.gamesPlayed, save);
    if (save) {
        store.WriteString(name(kTotalPoints),
                          QString::number(std::max<int64_t>(stats.totalPoints, 0)));
    } else {
        QString text;
        stats.totalPoints = store.ReadString(name(kTotalPoints), text)
                                ? statistics::StoredCount(text.toStdString())
                                : 0;
    }
    TransferCount(store, name(kBestGame), stats.bestGame, save);
    TransferText(store, name(kBestWord), stats.bestWordText, save);
    TransferCount(store, name(kBestWordScore), stats.bestWordScore, save);
    TransferText(store, name(kLongestWord), stats.longestWordText, save);
    TransferCount(store, name(kLongestWordLetters), stats.longestWordLetters, save);
    TransferCount(store, name(kWordsEntered), stats.wordsEntered, save);
}

TStatisticsForm::TStatisticsForm(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TStatisticsForm>()) {
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowIcon(ProgramIcon());
    UsePixelFont(this, 14);
    for (QPushButton* button : {ui->CloseButton, ui->helpButton, ui->ResetButton})
        UsePixelFont(button, 18);
    GroupCaption = ui->StatisticsGroup->title();

    connect(ui->CloseButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->helpButton, &QPushButton::clicked, this, [] { ShowHelpTopic(HelpContext); });
    connect(ui->ResetButton, &QPushButton::clicked, this, &TStatisticsForm::ResetButtonClick);
    AddHelpKey(this, HelpContext);
    ShowFigures();
}

TStatisticsForm::~TStatisticsForm() = default;

void TStatisticsForm::Execute(const QString& dictionary) {
    Dictionary = dictionary;
    Load();
    RunModal();
}

int TStatisticsForm::RunModal() {
    return exec();
}

int TStatisticsForm::AskPlayer(const QString& question) {
    return ShowCenteredMessage(this, question, QMessageBox::Question,
                               QMessageBox::Yes | QMessageBox::No | QMessageBox::Help, HelpContext,
                               QMessageBox::No); // a slip of Return keeps the record
}

void TStatisticsForm::showEvent(QShowEvent* event) {
    // Whatever was pressed last time, Return closes the window again.
    ui->CloseButton->setDefault(true);
    ui->CloseButton->setFocus();
    QDialog::showEvent(event);
}

void TStatisticsForm::Load() {
    Persist store(false);
    TransferStatistics(store, Dictionary, stats, false);
    ShowFigures();
}

void TStatisticsForm::ShowFigures() {
    ui->StatisticsGroup->setTitle(Dictionary + GroupCaption);
    ui->gamesPlayedValue->setText(QString::number(stats.gamesPlayed));
    ui->totalPointsValue->setText(QString::number(stats.totalPoints));
    ui->averagePointsValue->setText(QString::number(statistics::AveragePoints(stats)));
    ui->bestGameValue->setText(QString::number(stats.bestGame));
    ui->bestWordValue->setText(
        WordAndFigure(stats.bestWordText, stats.bestWordScore, QStringLiteral("points")));
    ui->longestWordValue->setText(
        WordAndFigure(stats.longestWordText, stats.longestWordLetters, QStringLiteral("letters")));
    ui->wordsEnteredValue->setText(QString::number(stats.wordsEntered));
    // Nothing to clear is nothing to ask about.
    ui->ResetButton->setEnabled(stats != statistics::PlayerStatistics{});
}

void TStatisticsForm::ResetButtonClick() {
    const QString question =
        QStringLiteral("Clear your statistics for the %1 dictionary?\n\nYour games, points and "
                       "best words with it are counted afresh from the next game. The high "
                       "scores stay as they are.")
            .arg(Dictionary);
    if (AskPlayer(question) != QMessageBox::Yes)
        return;
    {
        Persist store(true);
        statistics::PlayerStatistics cleared;
        TransferStatistics(store, Dictionary, cleared, true);
    }
    // What the store holds now: if it refused the change, the figures are still there.
    Load();
    if (!ui->ResetButton->isEnabled())
        ui->CloseButton->setFocus();
}
