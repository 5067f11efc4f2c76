#include "platform/ProgramFolder.h"

#include "platform/UserMessages.h"
#include "platform/Logging.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString ProgramFolder()
{
    const QString home = qEnvironmentVariable("STENOVA_HOME");
    if (!home.isEmpty()) return QDir::cleanPath(QDir(home).absolutePath());
    const QString exeDir = QCoreApplication::applicationDirPath();
    if (QFileInfo(exeDir).isWritable()) return exeDir;
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/stenova");
}

QString SettingsPath() { return ProgramFolder() + QStringLiteral("/setting.ini"); }

QString WorkFolder() { return ProgramFolder() + QStringLiteral("/AvtoSave"); }

bool EnsureWorkFolder(UserMessages &messages)
{
    const QString path = WorkFolder();
    if (QFileInfo(path).isDir()) return true;
    if (QDir().mkpath(path)) {
        qCDebug(lcFiles) << "created" << path;
        return true;
    }
    qCWarning(lcFiles) << "cannot create" << path;
    messages.standardError(QStringLiteral("Cannot create ") + path);
    return false;
}
