#include "dialogs/sounds.h"

#include "gui/formstyle.h"
#include "gui/helpviewer.h"
#include "gui/programicon.h"
#include "gui/utils.h"
#include "settings/registry.h"
#include "settings/sounder.h"
#include "ui_sounds.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPushButton>

namespace {

QString CurrentKey(int event) {
    return Sounder::SchemeKey + Sounder::EventKey(event) + QStringLiteral("\\.current");
}

} // namespace

TSoundsForm::TSoundsForm(QWidget* parent, FolderFile folderFileFn, std::unique_ptr<SoundOutput> out)
    : QDialog(parent), ui(std::make_unique<Ui::TSoundsForm>()), folderFile(std::move(folderFileFn)),
      output(std::move(out)) {
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowIcon(ProgramIcon());
    UsePixelFont(this, 15);
    if (!folderFile)
        folderFile = [](const QString& name) { return ProgramFolderFile(name); };

    files = {ui->selectTileFile, ui->selectWordFile, ui->newLifeFile,
             ui->endRoundFile,   ui->highWordFile,   ui->lowWordFile};
    const std::array<QPushButton*, EventCount> browse = {ui->selectTileBrowse, ui->selectWordBrowse,
                                                         ui->newLifeBrowse,    ui->endRoundBrowse,
                                                         ui->highWordBrowse,   ui->lowWordBrowse};
    const std::array<QPushButton*, EventCount> play = {ui->selectTilePlay, ui->selectWordPlay,
                                                       ui->newLifePlay,    ui->endRoundPlay,
                                                       ui->highWordPlay,   ui->lowWordPlay};
    const std::array<QPushButton*, EventCount> reset = {
        ui->selectTileDefault, ui->selectWordDefault, ui->newLifeDefault,
        ui->endRoundDefault,   ui->highWordDefault,   ui->lowWordDefault};
    for (int i = 0; i < EventCount; ++i) {
        connect(browse[i], &QPushButton::clicked, this, [this, i] { BrowseClick(i); });
        connect(play[i], &QPushButton::clicked, this, [this, i] { PlayClick(i); });
        connect(reset[i], &QPushButton::clicked, this, [this, i] { DefaultClick(i); });
    }
    connect(ui->OKBtn, &QPushButton::clicked, this, [this] { done(1); });
    connect(ui->CancelBtn, &QPushButton::clicked, this, [this] { done(2); });
    connect(ui->helpButton, &QPushButton::clicked, this, [] { ShowHelpTopic(HelpContext); });
    AddHelpKey(this, HelpContext);
}

TSoundsForm::~TSoundsForm() {
    if (output)
        output->Stop();
}

QString TSoundsForm::SchemeFile(int event) {
    QString fileName;
    RegistryKey key(false);
    if (key.OpenKey(CurrentKey(event), false))
        key.ReadString(QString(), fileName);
    return fileName;
}

bool TSoundsForm::SetSchemeFile(int event, const QString& fileName) {
    if (Sounder::EventKey(event).isEmpty())
        return false;
    RegistryKey key(true);
    if (!key.OpenKey(CurrentKey(event), true))
        return false;
    const bool written = key.WriteString(QString(), fileName);
    return key.CloseKey() && written;
}

bool TSoundsForm::Execute() {
    for (int i = 0; i < EventCount; ++i) {
        shown[i] = SchemeFile(i);
        files[i]->setText(shown[i]);
    }
    const int result = RunModal();
    if (output)
        output->Stop();
    if (result != 1)
        return false;
    bool changed = false;
    for (int i = 0; i < EventCount; ++i) {
        const QString fileName = files[i]->text().trimmed();
        if (fileName != shown[i] && SetSchemeFile(i, fileName))
            changed = true;
    }
    return changed;
}

int TSoundsForm::RunModal() {
    return exec();
}

void TSoundsForm::reject() {
    done(2);
}

QString TSoundsForm::ChooseFile(const QString& current) {
    const QString folder =
        current.isEmpty() ? QFileInfo(folderFile(QString())).path() : QFileInfo(current).path();
    return QFileDialog::getOpenFileName(this, QStringLiteral("Choose a Sound"), folder,
                                        QStringLiteral("Wave sounds (*.wav)"));
}

void TSoundsForm::BrowseClick(int event) {
    const QString chosen = ChooseFile(files[event]->text().trimmed());
    if (!chosen.isEmpty())
        files[event]->setText(QDir::toNativeSeparators(chosen));
}

void TSoundsForm::PlayClick(int event) {
    const QString fileName = files[event]->text().trimmed();
    // The output is made at the first trial sound, so merely opening the dialog never
    // touches the audio system.
    if (!output)
        output = MakeSoundOutput();
    if (fileName.isEmpty())
        output->Stop();
    else
        output->PlayFile(fileName);
}

void TSoundsForm::DefaultClick(int event) {
    files[event]->setText(folderFile(Sounder::DefaultFileName(event)));
}
