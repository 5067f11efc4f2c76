// The bridge's player process and its IPC channel: starting and ending mpv, connecting to
// its socket, writing requests and waiting, bounded, for their replies.
#include "playback/MpvIpcBridge.h"

#include "platform/Clock.h"
#include "platform/Logging.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
// Spelled with the module directory so that the core library compiles with the Qt include
// root alone; programs using the bridge link Qt6::Network.
#include <QtNetwork/QLocalSocket>

#include <algorithm>
#include <limits>
#include <sys/stat.h>

namespace {

// Only a socket left behind by a player that did not clean up is removed, never another file.
void removeStaleSocket(const QString &path)
{
    struct stat st {};
    const QByteArray native = QFile::encodeName(path);
    if (::lstat(native.constData(), &st) == 0 && S_ISSOCK(st.st_mode)) QFile::remove(path);
}

} // namespace

MpvIpcBridge::MpvIpcBridge(Clock &clock, QStringList extraArgs, QObject *parent)
    : QObject(parent), m_extraArgs(std::move(extraArgs)),
      m_connectRetry(clock.createTimer(QStringLiteral("MpvIpcConnectRetry"), ConnectRetryMs, true))
{
    m_connectRetry->onTimeout = [this] { tryConnect(); };
    m_monotonic.start();
}

MpvIpcBridge::~MpvIpcBridge() { endPlayer(false); }

std::int64_t MpvIpcBridge::processId() const { return playerRunning() ? m_pid : 0; }

bool MpvIpcBridge::playerRunning() const { return m_process && m_process->state() != QProcess::NotRunning; }

bool MpvIpcBridge::socketConnected() const { return m_socket && m_socket->state() == QLocalSocket::ConnectedState; }

bool MpvIpcBridge::playerAnswering() const { return answerTimeLeftMs() > 0; }

qint64 MpvIpcBridge::answerTimeLeftMs() const
{
    if (m_askedAtMs < 0) return std::numeric_limits<qint64>::max();
    return std::max<qint64>(0, ReplyTimeoutMs - (m_monotonic.elapsed() - m_askedAtMs));
}

bool MpvIpcBridge::startPlayer(const QString &program, const QString &mediaPath, const QString &socketPath)
{
    endPlayer(true);
    resetConnectionState();
    // Without a socket the player could not be driven at all.
    if (socketPath.isEmpty()) return false;
    m_socketPath = socketPath;
    removeStaleSocket(socketPath);

    auto *process = new QProcess(this);
    process->setProgram(program);
    // After "--" the media path is a file name even when it begins like an option.
    process->setArguments(QStringList{QString::fromLatin1(MpvIpc::OptIdle), QString::fromLatin1(MpvIpc::OptPause),
                                      QString::fromLatin1(MpvIpc::OptKeepOpen),
                                      QString::fromLatin1(MpvIpc::OptForceWindow),
                                      QLatin1String(MpvIpc::OptIpcServer) + socketPath} +
                          m_extraArgs + QStringList{QStringLiteral("--"), mediaPath});
    // mpv's terminal output is not read; an unread pipe would fill up and block the player.
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    process->start();
    if (!process->waitForStarted(StartTimeoutMs)) {
        qCWarning(lcExternal) << "cannot start" << program << ':' << process->errorString();
        delete process;
        return false;
    }
    m_process = process;
    m_pid = process->processId();
    qCDebug(lcExternal) << "started" << program << "as" << m_pid;
    connect(process, &QProcess::finished, this, [this, process] {
        if (process == m_process) onProcessFinished();
    });

    auto *socket = new QLocalSocket(this);
    m_socket = socket;
    connect(socket, &QLocalSocket::connected, this, [this] { onConnected(); });
    connect(socket, &QLocalSocket::errorOccurred, this, [this] { onConnectError(); });
    connect(socket, &QLocalSocket::readyRead, this, [this] { onReadyRead(); });
    connect(socket, &QLocalSocket::disconnected, this, [this] { onSocketDisconnected(); });

    m_connectDeadline = QDeadlineTimer(ConnectTimeoutMs);
    tryConnect();
    return true;
}

void MpvIpcBridge::endPlayer(bool deliverReports)
{
    m_connectRetry->stop();
    const QPointer<QLocalSocket> socket = m_socket;
    const QPointer<QProcess> process = m_process;
    if (!deliverReports) {
        if (socket) disconnect(socket, nullptr, this, nullptr);
        if (process) disconnect(process, nullptr, this, nullptr);
    }
    if (process && process->state() != QProcess::NotRunning) {
        // Asking twice does no harm when the caller has already told the player to close. A
        // player that does not answer would not quit either (a stopped one not even on SIGTERM).
        if (!playerAnswering()) {
            process->kill();
        } else if (socket && socket->state() == QLocalSocket::ConnectedState) {
            write(QJsonObject{{QStringLiteral("command"), QJsonArray{QLatin1String(MpvIpc::Quit)}}});
            if (socket->state() == QLocalSocket::ConnectedState && socket->bytesToWrite() > 0)
                socket->waitForBytesWritten(ReplyTimeoutMs);
        } else {
            process->terminate();
        }
        if (!process->waitForFinished(QuitTimeoutMs) && process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished(QuitTimeoutMs);
        }
    }
    if (deliverReports) reportDisconnect();
    m_connected = false;
    if (socket) {
        disconnect(socket, nullptr, this, nullptr);
        socket->abort();
        socket->deleteLater(); // this may run inside one of the socket's own signals
    }
    if (process) {
        disconnect(process, nullptr, this, nullptr);
        process->deleteLater();
    }
    m_socket = nullptr;
    m_process = nullptr;
    m_pid = 0;
}

void MpvIpcBridge::resetConnectionState()
{
    m_connected = false;
    m_buffer.clear();
    m_replyHandlers.clear();
    m_heardAtMs = m_monotonic.elapsed();
    m_askedAtMs = -1;
    m_loadState = -1;
    ++m_fileGeneration;
    m_paused = true;
    m_stopped = false;
    m_waitingForSeek = false;
    m_seekSettled = false;
    m_heldPosition.reset();
    m_timePos.reset();
    m_smooth.reset();
    m_speed = 1.0;
    m_title.clear();
    m_path.clear();
    m_metadata = {};
    m_duration = QJsonValue();
    m_lastNowPlaying.clear();
}

void MpvIpcBridge::tryConnect()
{
    if (!m_socket || m_connected) return;
    if (!playerRunning() || m_connectDeadline.hasExpired()) return; // mpv never made its socket
    m_socket->abort();
    m_socket->connectToServer(m_socketPath);
}

void MpvIpcBridge::onConnectError()
{
    // Errors after the connection are followed by a disconnect, handled there. (The error of
    // a failed attempt comes while the socket still says it is connecting.)
    if (m_connected || !m_socket) return;
    if (playerRunning() && !m_connectDeadline.hasExpired()) m_connectRetry->start();
}

void MpvIpcBridge::onConnected()
{
    if (m_connected) return;
    m_connectRetry->stop();
    m_connected = true;
    m_heardAtMs = m_monotonic.elapsed();
    report(Mpc::RepConnect, QString(), m_pid);
    beginFollowing();
}

void MpvIpcBridge::onReadyRead() { processIncoming(); }

void MpvIpcBridge::onSocketDisconnected()
{
    processIncoming(); // what mpv said before closing still counts
    reportDisconnect();
}

void MpvIpcBridge::onProcessFinished()
{
    m_connectRetry->stop();
    processIncoming();
    reportDisconnect();
}

void MpvIpcBridge::reportDisconnect()
{
    if (!m_connected) return;
    m_replyHandlers.clear();
    m_askedAtMs = -1;
    m_waitingForSeek = false;
    m_heldPosition.reset();
    m_timePos.reset();
    // A player that was killed said nothing about its file; it is closed all the same. The
    // connection still counts while this goes out, so it is reported before the disconnect.
    setLoadState(0);
    m_connected = false;
    report(Mpc::RepDisconnect, QString());
}

std::int64_t MpvIpcBridge::command(const QJsonArray &args, const ReplyHandler &handler)
{
    if (!m_connected || !socketConnected()) return -1;
    const std::int64_t id = m_nextRequestId++;
    QJsonObject message{{QStringLiteral("command"), args}, {QStringLiteral("request_id"), static_cast<qint64>(id)}};
    if (handler) m_replyHandlers.insert(id, handler);
    if (m_askedAtMs < 0) m_askedAtMs = m_monotonic.elapsed();
    write(message);
    return id;
}

void MpvIpcBridge::write(const QJsonObject &message)
{
    if (!socketConnected()) return;
    const QByteArray line = QJsonDocument(message).toJson(QJsonDocument::Compact);
    qCDebug(lcExternal) << "->" << line;
    m_socket->write(line + '\n');
    m_socket->flush();
}

QJsonObject MpvIpcBridge::commandSync(const QJsonArray &args)
{
    QJsonObject result;
    bool replied = false;
    const std::int64_t id = command(args, [&](const QJsonObject &reply) {
        result = reply;
        replied = true;
    });
    if (id < 0) return {};
    if (!waitUntil([&] { return replied; }, ReplyTimeoutMs)) m_replyHandlers.remove(id);
    return result;
}

bool MpvIpcBridge::waitUntil(const std::function<bool()> &done, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        processIncoming();
        if (done()) return true;
        const QPointer<QLocalSocket> socket = m_socket;
        if (!socket || socket->state() != QLocalSocket::ConnectedState || !m_connected) return false;
        const qint64 remaining = std::min(deadline.remainingTime(), answerTimeLeftMs());
        if (remaining <= 0) return false;
        // Blocks on the socket only; readyRead and disconnected are emitted from inside.
        socket->waitForReadyRead(static_cast<int>(remaining));
    }
}

void MpvIpcBridge::processIncoming()
{
    // Read only what is there: after mpv closed the connection, reading more would complain.
    if (m_socket && m_socket->bytesAvailable() > 0) {
        m_buffer += m_socket->read(m_socket->bytesAvailable());
        m_heardAtMs = m_monotonic.elapsed();
    }
    // Each line is taken off the buffer before it is handled: a handler may send a command,
    // whose wait handles the lines after it.
    qsizetype newline;
    while ((newline = m_buffer.indexOf('\n')) >= 0) {
        const QByteArray line = m_buffer.left(newline);
        m_buffer.remove(0, newline + 1);
        handleLine(line);
    }
}

void MpvIpcBridge::handleLine(const QByteArray &line)
{
    qCDebug(lcExternal) << "<-" << line;
    const QJsonObject message = QJsonDocument::fromJson(line).object();
    if (message.isEmpty()) return;
    if (message.contains(QStringLiteral("event"))) {
        handleEvent(message);
        return;
    }
    const QJsonValue id = message.value(QStringLiteral("request_id"));
    if (!id.isDouble()) return;
    // Only a reply shows the player answers: events it sent before it stopped do not.
    m_askedAtMs = -1;
    const ReplyHandler handler = m_replyHandlers.take(id.toInteger());
    if (handler) handler(message);
}
