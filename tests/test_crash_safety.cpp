// The program killed while the user types and the autosave writes, at random moments: no
// document file is ever left damaged, and the next start's restore offers the latest autosave.
#include "app/TextDocuments.h"
#include "document/DocumentContainer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

#include <csignal>

#include "QtPrinters.h"

namespace {

QString Xdotool(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral("xdotool"), args);
    p.waitForFinished(10000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

void Pause(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// The text window of the program with that process id, once it is shown.
QString TextWindowOf(qint64 pid)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 20000) {
        const QString found =
            Xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                     QString::number(pid), QStringLiteral("--name"), QStringLiteral("\\.ole$")});
        if (!found.isEmpty()) return found.section(u'\n', 0, 0);
        Pause(100);
    }
    return {};
}

QString TextOf(const QString &path)
{
    DocumentContainer reader;
    reader.LoadFromFile(path);
    return reader.toPlainText();
}

} // namespace

TEST(CrashSafety, KilledWhileTypingAndAutosavingFiftyTimes)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    qputenv("STENOVA_HOME", home.path().toUtf8());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("STENOVA_AUTOSAVE_MS"), QStringLiteral("100"));
    env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0")); // it is killed, not ended
    const quint32 seed = QRandomGenerator::global()->generate();
    std::printf("random seed %u\n", seed);
    QRandomGenerator random(seed);
    const QDir work(home.filePath(QStringLiteral("AvtoSave")));
    int autosavesSeen = 0, withText = 0;

    for (int round = 0; round < 50; ++round) {
        SCOPED_TRACE(round);
        QProcess program;
        program.setProcessEnvironment(env);
        program.setStandardOutputFile(QProcess::nullDevice());
        program.setStandardErrorFile(QProcess::nullDevice());
        program.start(QStringLiteral(STENOVA_PROGRAM), {QStringLiteral(STENOVA_SAMPLE)});
        ASSERT_TRUE(program.waitForStarted(10000));
        const QString window = TextWindowOf(program.processId());
        ASSERT_FALSE(window.isEmpty()) << "no text window";
        // The main window, shown after it, may take the focus back: activated until it stays.
        QElapsedTimer activating;
        activating.start();
        do {
            Xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), window});
            Pause(150);
        } while (Xdotool({QStringLiteral("getactivewindow")}) != window && activating.elapsed() < 10000);
        Xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), window, QStringLiteral("100"),
                 QStringLiteral("100"), QStringLiteral("click"), QStringLiteral("1")});

        const QString typed = QStringLiteral("round %1 the quick brown fox jumps over the lazy dog, and the lazy dog "
                                             "sleeps on while the fox runs and runs and runs away")
                                  .arg(round);
        QProcess typist;
        typist.start(QStringLiteral("xdotool"),
                     {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("8"), typed});
        Pause(150 + static_cast<int>(random.bounded(1000)));
        ::kill(static_cast<pid_t>(program.processId()), SIGKILL);
        ASSERT_TRUE(program.waitForFinished(10000));
        // The typist finishes into whatever has the focus now: killed, it could leave a key
        // held down, which the X server would repeat into the next round.
        typist.waitForFinished(10000);
        ASSERT_EQ(typist.state(), QProcess::NotRunning);

        // Every document file reads whole.
        for (const QString &name : work.entryList({QStringLiteral("*.ole")}, QDir::Files)) {
            try {
                TextOf(work.filePath(name));
            } catch (const DocumentError &e) {
                ADD_FAILURE() << e.message.toStdString();
            }
        }
        // The latest autosave holds what was typed up to it, and it is what the restore offers.
        const QString autosave = work.filePath(QStringLiteral("AvtoSaveFileTimer.ole"));
        if (!QFile::exists(autosave)) continue;
        ++autosavesSeen;
        const QString saved = TextOf(autosave);
        if (saved.startsWith(QStringLiteral("round %1 ").arg(round))) ++withText;
        EXPECT_TRUE(typed.startsWith(saved) || saved.startsWith(QStringLiteral("round %1 ").arg(round - 1)))
            << saved.toStdString();
        EXPECT_EQ(TextDocuments::RestoreOffer(), autosave);
    }
    std::printf("%d of 50 rounds autosaved, %d with the round's own typing\n", autosavesSeen, withText);
    EXPECT_GT(autosavesSeen, 40);
    EXPECT_GT(withText, 25); // the typing reached the program, not only its empty document
    qunsetenv("STENOVA_HOME");
}
