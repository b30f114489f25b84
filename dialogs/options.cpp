#include "dialogs/options.h"

#include "dialogs/sounds.h"
#include "dictionary/tsdictionary.h"
#include "gui/formstyle.h"
#include "gui/helpviewer.h"
#include "gui/programicon.h"
#include "gui/utils.h"
#include "settings/persist.h"
#include "ui_options.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>

#ifdef Q_OS_WIN
#include <QProcess>
#endif

TOptionsForm* OptionsForm = nullptr;

namespace {

QString& DictionaryFolderOverride() {
    static QString folder;
    return folder;
}

QString DictionaryFolderFile(const QString& fileName) {
    const QString& folder = DictionaryFolderOverride();
    return folder.isEmpty() ? ProgramFolderFile(fileName) : QDir(folder).filePath(fileName);
}

bool IsValidDictionary(const QString& fileName, const QString& path) {
    // ';' separates the paths of a dictionary list, so a file name holding one could only
    // ever be opened as two wrong paths; and a stored name with a backslash is not taken back
    // at the next start. Such a file cannot be the game's dictionary.
    if (path.contains(QLatin1Char(';')) || fileName.contains(QLatin1Char('\\')))
        return false;
    TSDictionaryList list(QFile::encodeName(path).toStdString(), false);
    const bool valid = list.FirstInvalid() == nullptr;
    list.Release();
    return valid;
}

} // namespace

TOptionsForm::TOptionsForm(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TOptionsForm>()) {
    ui->setupUi(this);
    // Left only with OK, Cancel or Esc: no close box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(394, 389);
    setWindowIcon(ProgramIcon());

    UsePixelFont(this, 15);
    for (QPushButton* button : {ui->OKBtn, ui->CancelBtn, ui->helpButton, ui->SoundsButton})
        UsePixelFont(button, 18);

    connect(ui->NicknameField, &QLineEdit::textChanged, this, &TOptionsForm::NicknameFieldChange);
    connect(ui->OKBtn, &QPushButton::clicked, this, [this] { done(1); });
    connect(ui->CancelBtn, &QPushButton::clicked, this, [this] { done(2); });
    connect(ui->SoundsButton, &QPushButton::clicked, this, &TOptionsForm::SoundsButtonClick);
    connect(ui->helpButton, &QPushButton::clicked, this, &TOptionsForm::HelpButtonClick);
    AddHelpKey(this, HelpContext);

    Persist store(false);
    store.FormPlacement(*this);
}

TOptionsForm::~TOptionsForm() {
    Persist store(true);
    store.FormPlacement(*this);
    if (OptionsForm == this)
        OptionsForm = nullptr;
}

void TOptionsForm::SetDictionaryFolder(const QString& folder) {
    DictionaryFolderOverride() = folder;
}

QStringList TOptionsForm::ValidDictionaries() {
    // Every kind of entry is looked at, as the game has always done; a folder or anything
    // else that is not a readable dictionary fails the check and stays out. Name order, so
    // the list reads the same on every system.
    const QString pattern = DictionaryFolderFile(QStringLiteral("*.tsd"));
    const QFileInfo patternInfo(pattern);
    const QDir folder(patternInfo.path(), patternInfo.fileName(), QDir::Name | QDir::IgnoreCase,
                      QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    QStringList names;
    for (const QString& entry : folder.entryList()) {
        if (!IsValidDictionary(entry, DictionaryFolderFile(entry)))
            continue;
        const qsizetype dot = entry.lastIndexOf(QLatin1Char('.'));
        names.append(dot < 0 ? entry : entry.left(dot));
    }
    return names;
}

int TOptionsForm::Execute(bool allowDictionaryChange, bool& howToPlay, bool& endRoundSounds,
                          bool& enterWordSounds, bool& selectTileSounds, QString& dictionary,
                          QString& nickname, bool* showBestWordLeft) {
    ui->NicknameField->setText(nickname);
    NicknameFieldChange(); // also when the text was already the same
    ui->SelectTileSounds->setChecked(selectTileSounds);
    ui->EnterWordSounds->setChecked(enterWordSounds);
    ui->EndRoundSounds->setChecked(endRoundSounds);
    ui->HowToPlay->setChecked(howToPlay);
    ui->ShowBestWordLeft->setChecked(showBestWordLeft == nullptr || *showBestWordLeft);

    ui->DictionaryList->clear();
    ui->DictionaryList->addItems(ValidDictionaries());
    int selected = -1;
    for (int i = 0; i < ui->DictionaryList->count(); ++i) {
        if (ui->DictionaryList->itemText(i).compare(dictionary, Qt::CaseInsensitive) == 0) {
            selected = i;
            break;
        }
    }
    if (selected < 0 && ui->DictionaryList->count() > 0)
        selected = 0;
    ui->DictionaryList->setCurrentIndex(selected);
    ui->DictionaryList->setEnabled(allowDictionaryChange);
    ui->NicknameField->setFocus();
    ui->NicknameField->selectAll();

    const int result = RunModal();
    if (result == 1) {
        nickname = ui->NicknameField->text();
        selectTileSounds = ui->SelectTileSounds->isChecked();
        enterWordSounds = ui->EnterWordSounds->isChecked();
        endRoundSounds = ui->EndRoundSounds->isChecked();
        howToPlay = ui->HowToPlay->isChecked();
        if (showBestWordLeft != nullptr)
            *showBestWordLeft = ui->ShowBestWordLeft->isChecked();
        const int index = ui->DictionaryList->currentIndex();
        if (allowDictionaryChange && index >= 0 && index < ui->DictionaryList->count())
            dictionary = ui->DictionaryList->itemText(index);
    }
    return result;
}

void TOptionsForm::hideEvent(QHideEvent* event) {
    // Stored as the dialog goes, while its native window (which the placement is read from)
    // still exists: Qt lets it go when the dialog closes.
    Persist(true).FormPlacement(*this);
    QDialog::hideEvent(event);
}

int TOptionsForm::RunModal() {
    return exec();
}

void TOptionsForm::reject() {
    done(2);
}

void TOptionsForm::NicknameFieldChange() {
    // A name of blanks would show as no name at all beside the scores.
    ui->OKBtn->setEnabled(!ui->NicknameField->text().trimmed().isEmpty());
}

void TOptionsForm::SoundsButtonClick() {
    if (EditSoundScheme())
        emit SoundSchemeChanged();
}

bool TOptionsForm::EditSoundScheme() {
#ifdef Q_OS_WIN
    // The system's own sound settings, where the game's events are listed with its name.
    QProcess::startDetached(QStringLiteral("control"),
                            {QStringLiteral("mmsys.cpl"), QStringLiteral("sounds")});
    return false;
#else
    TSoundsForm sounds(this);
    return sounds.Execute();
#endif
}

void TOptionsForm::HelpButtonClick() {
    ShowHelpTopic(HelpContext);
}
