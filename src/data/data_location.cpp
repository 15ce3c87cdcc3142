#include "data/data_location.h"

#include "data/draw_database.h"
#include "data/message_text.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>
#include <unistd.h>

const QString DataLocation::kFolderName = QStringLiteral("numbers3zubarin");

namespace {

const QString kSettingsFileName = QStringLiteral("ナンバーズ3ズバリン.ini");

bool writableFolder(const QString& path)
{
    return ::access(QFile::encodeName(path).constData(), W_OK) == 0;
}

} // namespace

DataLocation DataLocation::resolve(const QString& programDir, const QString& dataDir)
{
    DataLocation location;
    const QDir program(programDir);
    const QString beside = program.filePath(DrawDatabase::kHistoryFileName);
    const bool shippedBeside = QFileInfo::exists(beside);
    location.shippedHistory = shippedBeside
        ? beside
        : QDir::cleanPath(
            program.filePath(QStringLiteral("../share/") + kFolderName + u'/' + DrawDatabase::kHistoryFileName));

    if (!dataDir.isEmpty()) {
        const QDir folder(QDir::cleanPath(QDir::current().absoluteFilePath(dataDir)));
        location.dataFolder = folder.path();
        location.database = folder.filePath(DrawDatabase::kFileName);
        location.settingsFile = folder.filePath(kSettingsFileName);
        return location;
    }
    if (shippedBeside && writableFolder(programDir)) {
        location.besideProgram = true;
        location.database = program.filePath(DrawDatabase::kFileName);
        // By its bare name: the directory the program is started from.
        location.settingsFile = kSettingsFileName;
        return location;
    }
    const QDir data(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    const QDir config(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    location.database = data.filePath(kFolderName + u'/' + DrawDatabase::kFileName);
    location.settingsFile = config.filePath(kFolderName + u'/' + kSettingsFileName);
    return location;
}

bool DataLocation::makeFolders(QString* reason) const
{
    if (besideProgram)
        return true;
    for (const QString& file : {database, settingsFile}) {
        const QString folder = QFileInfo(file).absolutePath();
        errno = 0;
        if (!QDir().mkpath(folder)) {
            *reason = QStringLiteral("フォルダー %1 を作れません: %2")
                          .arg(QDir::toNativeSeparators(folder), message::systemReason(errno ? errno : EACCES));
            return false;
        }
    }
    return true;
}

DataLocation::NamedFolder DataLocation::namedFolder() const
{
    if (dataFolder.isEmpty())
        return NamedFolder::None;
    const QFileInfo folder(dataFolder);
    if (folder.isDir())
        return NamedFolder::Ready;
    return folder.exists() || folder.isSymLink() ? NamedFolder::NotAFolder : NamedFolder::Missing;
}

QString DataLocation::settingsBeside(const QString& databasePath)
{
    const QString settings = QFileInfo(databasePath).absoluteDir().filePath(kSettingsFileName);
    return QFileInfo(settings).isFile() ? settings : QString();
}
