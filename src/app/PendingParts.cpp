#include "app/PendingParts.h"

#include "platform/Logging.h"

std::optional<bool> PendingParts::LoadFromINIVideo(const QString &)
{
    pending("LoadFromINIVideo");
    return std::nullopt;
}

void PendingParts::pending(const char *operation)
{
    qCInfo(lcApp) << operation << "is not built yet";
    calls << QLatin1String(operation);
}
