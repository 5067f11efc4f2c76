#include "platform/SaveReports.h"

#include "platform/Logging.h"
#include "platform/UserMessages.h"

void SaveReports::failed(const QString &path, const QString &reason, const QString &lead)
{
    qCWarning(lcFiles) << "cannot save" << path << ':' << reason;
    if (m_failing.contains(path)) return;
    m_failing.insert(path);
    if (quiet) return;
    m_messages.error(QStringLiteral("Внимание!"),
                     lead + QStringLiteral("\nФайл: ") + path + QStringLiteral("\nПричина: ") + reason);
}

void SaveReports::saved(const QString &path)
{
    if (!m_failing.remove(path)) return;
    qCInfo(lcFiles) << "saved again" << path;
    if (showStatus) showStatus(QStringLiteral("Файл снова сохранён: ") + path);
}
