#include "app/RealProgram.h"

#include "app/TextDocuments.h"
#include "document/TFormOle.h"
#include "forms/TForm1.h"
#include "platform/EndSignals.h"
#include "platform/ProgramFolder.h"
#include "platform/SaveReports.h"
#include "platform/ScrollLock.h"
#include "platform/X11ScrollLock.h"
#include "playback/Mpris.h"

#include <QDir>
#include <QGuiApplication>
#include <QSessionManager>
#include <cstdlib>
#include <QTimer>
#include <QtGlobal>

namespace {

std::unique_ptr<ScrollLock> MakeScrollLock()
{
    if (auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
        return std::make_unique<X11ScrollLock>(x11->display());
    return std::make_unique<NoScrollLock>();
}

// Video is drawn where the window system can show it. The drawing is set up only when the
// video window is first shown, so an audio file never loads a GL driver.
bool CanDrawVideo()
{
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("xcb") || platform == QLatin1String("wayland");
}

// GL where the machine has a GPU to draw with (a render node). Without one, GL would be Mesa's
// software rasterizer, which takes more memory and time than mpv's own software renderer.
VideoDrawing ChooseVideoDrawing()
{
    const QStringList nodes = QDir(QStringLiteral("/dev/dri")).entryList({QStringLiteral("renderD*")}, QDir::System);
    return nodes.isEmpty() ? VideoDrawing::Software : VideoDrawing::Gl;
}

} // namespace

namespace {

RealProgram *g_running = nullptr;
bool g_mainLoopRunning = false;

// Qt and Xlib end the process with exit() when the X connection is lost: the documents and
// settings files need no display, so they are saved as at a normal end.
void SaveAtExit()
{
    if (g_running) g_running->program().SaveAtAbruptEnd();
}

} // namespace

RealProgram::RealProgram(const QStringList &arguments, const PlayerOptions &options)
    : m_mpc(m_clock, options.externalPlayerArgs), m_mci(m_clock, options.inProcess),
      m_wmp(m_clock, CanDrawVideo(), options.inProcess), m_mixer({&m_mci.mpv(), &m_wmp.mpv()}),
      m_scrollLock(MakeScrollLock())
{
    m_program = std::make_unique<Program>(Platform{m_clock, *m_scrollLock, m_messages, m_mpc, m_mci, m_wmp, m_sound,
                                                   m_desktop, m_mixer, m_masterVolume,
                                                   CanDrawVideo() ? &m_wmp.mpv() : nullptr, ChooseVideoDrawing()},
                                          arguments);
    // The crash tests make the autosave come often; users keep its three minutes.
    if (const int ms = qEnvironmentVariableIntValue("STENOVA_AUTOSAVE_MS"); ms > 0)
        m_program->documents().TimerAvtoSave->setInterval(ms);
    // The dictionaries load once the first file is open, off the start-up's way.
    TFormOle *text = m_program->FormOle();
    QTimer::singleShot(1000, text,
                       [text] { text->startSpellChecking(WorkFolder() + QStringLiteral("/UserDictionary.txt")); });
    m_program->mpris().registerOnSessionBus(); // media keys and desktop controls, where there is a bus
    // Every way the program is told to end goes through the main window's close and its saves.
    m_endSignals = std::make_unique<EndSignals>();
    TForm1 *main = m_program->Form1();
    // Nobody may be there to answer a message about a failed save (a shutdown, a logout): the
    // end goes on, and the failure is only logged.
    QObject::connect(m_endSignals.get(), &EndSignals::endRequested, main, [this, main] {
        m_program->saveReports().quiet = true;
        main->close();
    });
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, main,
                     [this](QSessionManager &) { m_program->SaveNow(); });
    m_program->endEventLoop = [this] { endMainLoop(); };
    static const bool registered = std::atexit(SaveAtExit) == 0;
    Q_UNUSED(registered);
    g_running = this;
    m_program->Form1()->show();
}

RealProgram::~RealProgram() { g_running = nullptr; }

void RealProgram::MainLoopStarting() { g_mainLoopRunning = true; }

// Qt's quit() is only a request: Qt asks every window to close again and drops the request
// when one of them stays shown (a window shown by a timer while the machine is busy, say), so
// a closed main window could leave the program running. exit() ends every event loop, also one
// of a dialog the close came through. A close asked for during the start-up waits for the
// main loop, which exit() cannot end before it runs.
void RealProgram::endMainLoop()
{
    if (g_mainLoopRunning) QCoreApplication::exit(0);
    else QTimer::singleShot(50, m_program->Form1(), [this] { endMainLoop(); });
}
