#include "platform/FootPedal.h"

#include "platform/Logging.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/input.h>
#include <sys/ioctl.h>
#include <unistd.h>

FootPedal::FootPedal(QObject *parent) : QObject(parent) {}

FootPedal::~FootPedal() { close(); }

bool FootPedal::open(const QString &path, Kind kind, QString *error, const int (&keys)[3])
{
    close();
    m_fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0) {
        if (error) *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    m_kind = kind;
    std::copy(std::begin(keys), std::end(keys), m_keys);
    // A keyboard pedal's keys come to this program alone, and not as letters into the text
    // window too. A pipe cannot be grabbed, nor needs to be.
    if (kind == Kind::InputKeys && ::ioctl(m_fd, EVIOCGRAB, 1) < 0 && errno != ENOTTY && errno != EINVAL)
        qCWarning(lcApp) << "the pedal's keys also reach other programs:" << std::strerror(errno);
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &FootPedal::readReports);
    return true;
}

void FootPedal::close()
{
    // Closed also from the notifier's own signal (a device gone): it goes when that returns.
    if (m_notifier) {
        m_notifier->setEnabled(false);
        m_notifier->deleteLater();
    }
    m_notifier = nullptr;
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}

void FootPedal::set(int bits)
{
    const int was = m_down;
    m_down = bits;
    for (int pedal = 0; pedal < 3; ++pedal)
        if (((was ^ bits) >> pedal) & 1) emit changed(pedal, (bits >> pedal) & 1);
}

void FootPedal::readReports()
{
    char buffer[sizeof(input_event) * 16];
    const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return;
    if (n <= 0) { // unplugged (ENODEV), or the writer of a pipe went away
        close();
        set(0);
        emit gone();
        return;
    }
    if (m_kind == Kind::HidReports) {
        // hidraw gives one report a read; its first byte holds the pedal bits.
        set(static_cast<unsigned char>(buffer[0]) & 7);
        return;
    }
    int bits = m_down;
    for (ssize_t at = 0; at + ssize_t(sizeof(input_event)) <= n; at += sizeof(input_event)) {
        input_event e;
        std::memcpy(&e, buffer + at, sizeof e);
        if (e.type != EV_KEY || e.value == 2) continue; // not a key, or its repeat
        if (e.value == 1) emit keyPressed(e.code);
        for (int pedal = 0; pedal < 3; ++pedal)
            if (m_keys[pedal] == e.code) bits = e.value ? bits | (1 << pedal) : bits & ~(1 << pedal);
    }
    set(bits);
}

QString FootPedal::Find(QString *model, const QString &sysRoot)
{
    static const QRegularExpression id(QStringLiteral("^HID_ID=0003:0000([0-9A-F]{4}):0000([0-9A-F]{4})$"),
                                       QRegularExpression::MultilineOption);
    const QDir root(sysRoot);
    for (const QString &name : root.entryList({QStringLiteral("hidraw*")}, QDir::Dirs | QDir::System, QDir::Name)) {
        QFile uevent(root.filePath(name + QStringLiteral("/device/uevent")));
        if (!uevent.open(QIODevice::ReadOnly)) continue;
        const auto m = id.match(QString::fromLatin1(uevent.readAll()));
        if (!m.hasMatch()) continue;
        for (const PedalModel &p : PedalModels)
            if (m.captured(1).toUShort(nullptr, 16) == p.vendor && m.captured(2).toUShort(nullptr, 16) == p.product) {
                if (model) *model = QLatin1String(p.name);
                return QStringLiteral("/dev/") + name;
            }
    }
    return {};
}

QStringList FootPedal::KeyboardDevices(const QString &folder)
{
    QStringList paths;
    const QDir dir(folder);
    for (const QString &name : dir.entryList({QStringLiteral("*-event-kbd")}, QDir::System | QDir::Files, QDir::Name))
        paths << dir.filePath(name);
    return paths;
}
