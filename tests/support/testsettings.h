#pragma once

#include <QByteArray>
#include <QString>

// The temporary folder that stands in for the user's configuration folder in Qt tests.
QString StoredSettingsFolder();
void SetStoredSettingsFolder(const QString& folder);

// Empties every settings file in that folder through QSettings itself, so that its cache of
// parsed files cannot hand a later test the values of an earlier one.
void ClearStoredSettings();

// Writes a settings file by hand (a path relative to the folder, e.g.
// "Corvane Limited/Pellinoraxis Evaluation 1.0.conf"), as a player with a text editor would.
void WriteStoredSettingsFile(const QString& relativePath, const QByteArray& content);
QByteArray ReadStoredSettingsFile(const QString& relativePath);

// The files that hold the game's settings key and its sound scheme.
inline const char* const kGameSettingsFile = "Corvane Limited/Pellinoraxis Evaluation 1.0.conf";
inline const char* const kSoundSchemeFile = "AppEvents/Schemes.conf";
