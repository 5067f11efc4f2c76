// libFuzzer target: the external player's bridge reading mpv's JSON IPC. The input is what mpv
// writes on its socket, sent as it is (with a line end after it) in pieces whose sizes follow
// from the input, each piece read on its own. A stand-in for mpv on a thread of its own answers
// the bridge's requests, between whole lines, as mpv does; the bridge runs as in the program,
// on the main thread, connected to it through the socket it was told to use, and is asked for
// the position after each input as the program does every 10 ms.
//
// Built from src/playback/MpvIpcBridge*.cpp, SmoothPosition.cpp, the Qt clock and QtNetwork.

#include "playback/MpvIpcBridge.h"
#include "platform/QtClock.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <linux/sockios.h>
#include <mutex>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

// The stand-in's timing varies from run to run; its code is kept out of the coverage, which
// would otherwise count its loops as new behaviour of the bridge.
#define NO_COVERAGE __attribute__((no_sanitize("coverage")))

namespace {

// Names the property that broke, so that findings can be told apart, and stops.
void Check(bool holds, const char *property)
{
    if (holds) return;
    std::fprintf(stderr, "broken: %s\n", property);
    std::abort();
}

// The player's side of the socket: writes the pieces of an input, each once the bridge has
// read the one before, and answers each request as mpv does, never inside a line.
class FakeMpv {
public:
    NO_COVERAGE void listen(const QString &path)
    {
        m_listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray native = QFile::encodeName(path);
        Check(native.size() < static_cast<qsizetype>(sizeof address.sun_path), "a short socket path");
        std::memcpy(address.sun_path, native.constData(), static_cast<size_t>(native.size()));
        Check(::bind(m_listener, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 &&
                  ::listen(m_listener, 1) == 0,
              "the socket is made");
        m_wake = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        m_thread = std::thread([this] { run(); });
    }

    // Sends the pieces; done() holds once the bridge has read them all.
    NO_COVERAGE void feed(std::vector<QByteArray> pieces, bool failQuestions)
    {
        {
            std::lock_guard lock(m_mutex);
            m_pieces = std::move(pieces);
            m_next = 0;
            m_failQuestions = failQuestions;
            m_done = false;
        }
        const std::uint64_t one = 1;
        (void)!::write(m_wake, &one, sizeof one);
    }
    bool done() const { return m_done.load(); }
    bool closed() const { return m_closed.load(); }

private:
    NO_COVERAGE void run()
    {
        m_socket = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (m_socket < 0) return;
        QByteArray incoming;
        std::vector<QByteArray> replies;
        bool atLineStart = true;
        for (;;) {
            // While an input is being read, look again soon: nothing tells when the bridge has
            // read what was written to it.
            pollfd fds[2] = {{m_socket, POLLIN, 0}, {m_wake, POLLIN, 0}};
            const timespec soon{0, 20000};
            ::ppoll(fds, 2, m_done ? nullptr : &soon, nullptr);
            if (fds[1].revents & POLLIN) {
                std::uint64_t count;
                (void)!::read(m_wake, &count, sizeof count);
            }
            if (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) {
                char buffer[4096];
                const ssize_t n = ::read(m_socket, buffer, sizeof buffer);
                if (n <= 0) {
                    m_closed = true;
                    wakeMain();
                    return;
                }
                incoming.append(buffer, n);
                qsizetype newline;
                while ((newline = incoming.indexOf('\n')) >= 0) {
                    const QByteArray reply = answer(incoming.left(newline));
                    incoming.remove(0, newline + 1);
                    if (!reply.isEmpty()) replies.push_back(reply);
                }
            }
            // mpv writes its replies and events whole, one after another.
            if (atLineStart) {
                for (const QByteArray &reply : replies) sendAll(reply);
                replies.clear();
            }
            std::unique_lock lock(m_mutex);
            if (m_next < m_pieces.size() && unread() == 0) {
                const QByteArray piece = m_pieces[m_next++];
                lock.unlock();
                sendAll(piece);
                atLineStart = piece.endsWith('\n');
                continue;
            }
            if (m_next == m_pieces.size() && !m_done && atLineStart && replies.empty() && unread() == 0) {
                m_done = true;
                lock.unlock();
                wakeMain();
            }
        }
    }

    // mpv's reply to a request line; nothing for a line that is none.
    NO_COVERAGE QByteArray answer(const QByteArray &line) const
    {
        const QJsonObject request = QJsonDocument::fromJson(line).object();
        const QJsonValue id = request.value(QStringLiteral("request_id"));
        const QJsonArray command = request.value(QStringLiteral("command")).toArray();
        if (!id.isDouble() || command.isEmpty()) return {};
        QJsonObject reply{{QStringLiteral("request_id"), id}, {QStringLiteral("error"), QStringLiteral("success")}};
        QJsonValue data;
        if (command[0].toString() == QLatin1String(MpvIpc::GetProperty)) {
            const QString name = command[1].toString();
            static const QJsonObject properties{
                {QLatin1String(MpvIpc::IdleActive), false},
                {QLatin1String(MpvIpc::FileFormat), QStringLiteral("wav")},
                {QLatin1String(MpvIpc::Path), QStringLiteral("/tmp/take.wav")},
                {QLatin1String(MpvIpc::MediaTitle), QStringLiteral("take|one")},
                {QLatin1String(MpvIpc::Metadata), QJsonObject{{QStringLiteral("ARTIST"), QStringLiteral("a|b")}}},
                {QLatin1String(MpvIpc::Duration), 20.5},
                {QLatin1String(MpvIpc::TimePos), 1.25},
                {QLatin1String(MpvIpc::EofReached), false}};
            // Some inputs find a player that has no file: its questions fail.
            if (m_failQuestions || !properties.contains(name))
                reply[QStringLiteral("error")] = QStringLiteral("property unavailable");
            else data = properties.value(name);
        }
        reply[QStringLiteral("data")] = data;
        return QJsonDocument(reply).toJson(QJsonDocument::Compact) + '\n';
    }

    // What the bridge has not read yet of what was written to it.
    NO_COVERAGE int unread() const
    {
        int bytes = 0;
        return ::ioctl(m_socket, SIOCOUTQ, &bytes) == 0 ? bytes : 0;
    }

    NO_COVERAGE void sendAll(const QByteArray &bytes)
    {
        for (qsizetype sent = 0; sent < bytes.size();) {
            const ssize_t n =
                ::send(m_socket, bytes.constData() + sent, static_cast<size_t>(bytes.size() - sent), MSG_NOSIGNAL);
            if (n <= 0) return;
            sent += n;
        }
    }

    NO_COVERAGE static void wakeMain()
    {
        if (QAbstractEventDispatcher *d = QAbstractEventDispatcher::instance(qApp->thread())) d->wakeUp();
    }

    int m_listener = -1;
    int m_socket = -1;
    int m_wake = -1;
    std::thread m_thread;
    std::mutex m_mutex;
    std::vector<QByteArray> m_pieces;
    size_t m_next = 0;
    std::atomic<bool> m_failQuestions{false};
    std::atomic<bool> m_done{false};
    std::atomic<bool> m_closed{false};
};

// What the reports have said so far, for the rules between them.
struct Reports {
    bool connected = false;
    QString loadState;          // the last load state reported
    QString nowPlaying;         // the last now-playing report
    bool loadStateSince = true; // a load state was reported after it
    bool askingPosition = false;
    int positions = 0;
};

Reports reports;

bool IsNumber(const QString &text)
{
    bool ok = false;
    text.toDouble(&ok);
    return ok;
}

// "seconds with six decimals", as the bridge writes every time.
bool IsSecondsText(const QString &text)
{
    const qsizetype dot = text.indexOf(u'.');
    return IsNumber(text) && dot > 0 && text.size() - dot - 1 == 6;
}

void CheckReport(std::uint32_t code, const QString &text, std::int64_t sender)
{
    Check(code == Mpc::RepConnect || sender == 0, "only the connect report names a sender");
    switch (code) {
    case Mpc::RepConnect:
        // Nothing mpv says ends the connection, so it is reported once.
        Check(!reports.connected, "one connect report");
        Check(text.isEmpty() && sender > 0, "the connect report names the player's process");
        reports.connected = true;
        break;
    case Mpc::RepDisconnect: Check(false, "nothing mpv says ends the connection"); break;
    case Mpc::RepLoadState:
        Check(text == u"0" || text == u"1" || text == u"2", "a load state is 0, 1 or 2");
        Check(text != reports.loadState, "a load state is reported when it changes");
        reports.loadState = text;
        reports.loadStateSince = true;
        break;
    case Mpc::RepPlayMode:
        // Stopped ("2") comes only from the program's Stop, which this target never sends.
        Check(text == u"0" || text == u"1", "a play mode is playing or paused");
        break;
    case Mpc::RepNowPlaying: {
        // The client splits the report at bars: title, author, description, path, duration.
        const QStringList fields = text.split(u'|');
        Check(fields.size() == 5, "a now-playing report has five fields");
        Check(IsSecondsText(fields[4]), "a now-playing report ends with the duration");
        // The same details again only for another file (after a load state).
        Check(text != reports.nowPlaying || reports.loadStateSince, "the same now-playing report is not repeated");
        reports.nowPlaying = text;
        reports.loadStateSince = false;
        break;
    }
    case Mpc::RepCurrentPosition:
        Check(reports.askingPosition, "the position is reported when it is asked for");
        Check(++reports.positions == 1, "one position for one question");
        Check(IsSecondsText(text), "a position is seconds");
        break;
    case Mpc::RepNotifySeek: Check(IsSecondsText(text), "a seek's position is seconds"); break;
    default: Check(false, "a report with a code of the remote control");
    }
}

// Qt's and the program's warnings about a damaged input (an unknown colour, a value that is no
// number) are expected; printed for every input they would only fill the log.
void Quiet(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
        std::abort();
    }
}

struct Fixture {
    NO_COVERAGE Fixture()
    {
        qInstallMessageHandler(Quiet);
        static int argc = 1;
        static char name[] = "fuzz_mpv_messages";
        static char *argv[] = {name, nullptr};
        // Never destroyed, nor the bridge: ending the player takes seconds, and the stand-in
        // for it ends by itself when this process closes its input.
        new QCoreApplication(argc, argv);
        // Removed at the process's end.
        static QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/fuzz_mpv_messages-XXXXXX"));
        dir = &folder;
        Check(dir->isValid(), "a temporary folder");
        const QString player = dir->filePath(QStringLiteral("mpv"));
        QFile script(player);
        Check(script.open(QIODevice::WriteOnly) && script.write("#!/bin/sh\nexec cat >/dev/null\n") > 0,
              "the player's stand-in is written");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        bridge = new MpvIpcBridge(clock);
        bridge->onReport = CheckReport;
        const QString socket = dir->filePath(QStringLiteral("mpv.sock"));
        Check(bridge->startPlayer(player, dir->filePath(QStringLiteral("take.wav")), socket), "the player starts");
        // The bridge removes what is left at the socket's path before it starts the player, and
        // tries again until the socket is there.
        mpv.listen(socket);
        QTimer limit;
        limit.setSingleShot(true);
        limit.start(5000);
        while (!reports.connected && limit.isActive()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        Check(reports.connected && bridge->socketConnected(), "the bridge connects");
    }
    QtClock clock; // the bridge's timer of connection attempts
    MpvIpcBridge *bridge = nullptr;
    QTemporaryDir *dir = nullptr;
    FakeMpv mpv;
};

// The pieces the input is sent in: all at once, or pieces of sizes drawn from the input's hash
// up to a longest size that the hash picks too.
std::vector<QByteArray> Pieces(const QByteArray &bytes, std::uint64_t hash)
{
    const qsizetype longest[] = {bytes.size(), bytes.size(), 1, 3, 16, 200, bytes.size(), bytes.size()};
    const qsizetype most = std::max<qsizetype>(1, longest[hash % 8]);
    if (hash % 8 < 2) return {bytes};
    std::uint64_t state = hash | 1;
    std::vector<QByteArray> pieces;
    for (qsizetype at = 0; at < bytes.size();) {
        state ^= state << 13; // xorshift
        state ^= state >> 7;
        state ^= state << 17;
        const qsizetype size = 1 + static_cast<qsizetype>(state % static_cast<std::uint64_t>(most));
        pieces.push_back(bytes.mid(at, size));
        at += size;
    }
    return pieces;
}

NO_COVERAGE void WaitForReading(Fixture &fixture)
{
    while (!fixture.mpv.done() && !fixture.mpv.closed()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    Check(!fixture.mpv.closed(), "the bridge keeps the connection");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static Fixture &fixture = *new Fixture;
    const QByteArray input(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    std::uint64_t hash = 1469598103934665603ull; // FNV-1a
    for (char c : input) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;

    // A line cut off at the end would join the next input's first line.
    fixture.mpv.feed(Pieces(input + '\n', hash), (hash >> 8) & 1);
    WaitForReading(fixture);
    Check(fixture.bridge->socketConnected(), "the bridge stays connected");

    reports.askingPosition = true;
    reports.positions = 0;
    fixture.bridge->send(Mpc::CmdGetPosition, QString());
    reports.askingPosition = false;
    return 0;
}
