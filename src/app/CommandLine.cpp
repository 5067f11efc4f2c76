#include "app/CommandLine.h"

#include "base/MediaTime.h"

#include <QRegularExpression>

namespace {

// A decimal integer with an optional sign, as the whole text.
std::optional<int> ReadInteger(const QString &s)
{
    static const QRegularExpression re(QStringLiteral("^[+-]?[0-9]+$"));
    if (!re.match(s).hasMatch()) return std::nullopt;
    bool ok = false;
    const int v = s.toInt(&ok);
    return ok ? std::optional<int>(v) : std::nullopt;
}

QString StartTimeText(const QString &value)
{
    if (value.contains(u':')) return MediaTimeToStr(StrToMediaTime(value));
    // A whole number counts seconds; anything else is kept as a time text of its own.
    const auto seconds = ReadInteger(value);
    if (seconds && *seconds >= 0) return MediaTimeToStr(SecondsToMediaTime(*seconds));
    return value;
}

} // namespace

CommandLineSwitches ParseSwitches(const QStringList &args)
{
    CommandLineSwitches sw;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString &a = args[i];
        const bool hasValue = i + 1 < args.size();
        const QString value = hasValue ? args[i + 1] : QString();
        // A value is still examined as a switch in its own turn, so no skipping here.
        if (a == QLatin1String("/l")) sw.loopFile = true;
        else if (a == QLatin1String("/p")) sw.pauseAtLoopStart = true;
        else if (a == QLatin1String("/b#")) sw.skipHashBookmarks = true;
        else if (a == QLatin1String("/b")) sw.bookmarkCount = ReadInteger(value).value_or(-1);
        else if (a == QLatin1String("/r")) sw.abCount = ReadInteger(value).value_or(-1);
        else if (a == QLatin1String("/t") && hasValue) sw.startTimeText = StartTimeText(value);
        else if (a == QLatin1String("/ab") && hasValue) sw.intervalListText = value;
    }
    return sw;
}
