#include "automation/GlobalHotKey.h"

#include <QStringList>

namespace {

struct KeyName {
    int vk;
    const char *name;
};
constexpr KeyName Names[] = {
    {VK::Left, "Left"},
    {VK::Right, "Right"},
    {VK::Up, "Up"},
    {VK::Down, "Down"},
    {33, "PgUp"},
    {34, "PgDown"},
    {35, "End"},
    {36, "Home"},
    {45, "Ins"},
    {46, "Del"},
    {VK::Space, "Space"},
    {VK::OpenBracket, "["},
    {VK::CloseBracket, "]"},
    {VK::Comma, ","},
    {VK::Period, "."},
    {186, ";"},
    {VK::Equal, "="},
    {VK::Minus, "-"},
    {191, "/"},
    {192, "`"},
    {220, "\\"},
    {222, "'"},
};
constexpr std::pair<unsigned, const char *> Modifiers[] = {
    {ModCtrl, "Ctrl"}, {ModShift, "Shift"}, {ModAlt, "Alt"}, {ModWin, "Win"}};

QString KeyText(int vk)
{
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return QString(QChar(vk));
    if (vk >= 0x70 && vk <= 0x87) return QStringLiteral("F%1").arg(vk - 0x6F);
    for (const KeyName &k : Names)
        if (k.vk == vk) return QLatin1String(k.name);
    return {};
}

} // namespace

QString HotKeyText(unsigned modifiers, int virtualKey)
{
    const QString key = KeyText(virtualKey);
    if (key.isEmpty()) return {};
    QString text;
    for (const auto &[bit, name] : Modifiers)
        if (modifiers & bit) text += QLatin1String(name) + u'+';
    return text + key;
}

std::optional<std::pair<unsigned, int>> ParseHotKeyText(const QString &text)
{
    // The key comes last; "+" alone as a key is not one of the names.
    const qsizetype split = text.lastIndexOf(u'+', text.size() - 2);
    if (split <= 0) return std::nullopt;
    unsigned modifiers = 0;
    for (const QString &part : text.left(split).split(u'+')) {
        unsigned bit = 0;
        for (const auto &[b, name] : Modifiers)
            if (part.trimmed().compare(QLatin1String(name), Qt::CaseInsensitive) == 0) bit = b;
        if (!bit) return std::nullopt;
        modifiers |= bit;
    }
    const QString key = text.mid(split + 1).trimmed();
    for (int vk = 1; vk < 256; ++vk)
        if (const QString name = KeyText(vk); !name.isEmpty() && name.compare(key, Qt::CaseInsensitive) == 0)
            return std::pair(modifiers, vk);
    return std::nullopt;
}
