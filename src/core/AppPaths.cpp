#include "core/AppPaths.h"

#include "core/PrivateFiles.h"
#include "core/TextUtils.h"

#include <QDir>
#include <QStandardPaths>

namespace kiv {

QString withTrailingSlash(const QString& path)
{
    return path.endsWith(u'/') ? path : path + u'/';
}

QString userDataHome()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QString userConfigHome()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

AppPaths InitPaths(const QString& clockName, const QString& appFolder, const QString& dataHome)
{
    AppPaths paths;
    paths.AppFolder = withTrailingSlash(appFolder);
    paths.MakerFolder = withTrailingSlash(dataHome) + u"KivSoft/";
    paths.DataFolder = paths.MakerFolder + u"Kiv Clock/";
    // A missing folder is created with its parents; a failure shows up later as a file that cannot be written.
    if (!FileExists(paths.DataFolder))
        makePrivatePath(paths.DataFolder);
    paths.DefaultSoundPath = paths.DataFolder + u"alarm.wav";
    paths.AlarmFilePath = paths.DataFolder + clockName + u".cfg";
    return paths;
}

} // namespace kiv
