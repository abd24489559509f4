#pragma once

#include <QString>

namespace kiv {

// The folders and files of one clock process. Folder paths always end in "/".
struct AppPaths
{
    QString AppFolder;        // the executable's folder
    QString MakerFolder;      // $XDG_DATA_HOME/KivSoft/
    QString DataFolder;       // MakerFolder + "Kiv Clock/": the default sound and every clock's alarm file
    QString DefaultSoundPath; // DataFolder + "alarm.wav"
    QString AlarmFilePath;    // DataFolder + clock name + ".cfg"
};

// Builds the paths of the clock `clockName` and creates the data folders when they are missing.
// `appFolder` is the executable's folder, `dataHome` the user's data folder ($XDG_DATA_HOME).
AppPaths InitPaths(const QString& clockName, const QString& appFolder, const QString& dataHome);

// The user's data folder: $XDG_DATA_HOME, or ~/.local/share when it is unset.
QString userDataHome();

// The user's configuration folder: $XDG_CONFIG_HOME, or ~/.config when it is unset.
QString userConfigHome();

// `path` with a "/" appended when it does not end in one.
QString withTrailingSlash(const QString& path);

} // namespace kiv
