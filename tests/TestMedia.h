#pragma once

#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>

// Makes a recording for a test with ffmpeg: a tone (and a moving test picture for .mp4/.mkv)
// of the given length. The format follows the file name's extension. Returns the path, or an
// empty string when ffmpeg failed.
inline QString MakeTestRecording(const QString &dir, const QString &name, double seconds)
{
    const QString path = dir + u'/' + name;
    const QString length = QString::number(seconds, 'f', 3);
    QStringList args{"-nostdin", "-loglevel", "error", "-y",
                     "-f",       "lavfi",     "-i",    "sine=frequency=440:sample_rate=44100:duration=" + length};
    const QString ext = QFileInfo(name).suffix().toLower();
    if (ext == "mp4" || ext == "mkv") {
        args << "-f"
             << "lavfi"
             << "-i"
             << "testsrc=size=160x120:rate=25:duration=" + length << "-c:v"
             << "libx264"
             << "-preset"
             << "ultrafast"
             << "-pix_fmt"
             << "yuv420p"
             << "-c:a"
             << "aac"
             << "-shortest";
    } else if (ext == "mp3") {
        args << "-c:a"
             << "libmp3lame"
             << "-b:a"
             << "128k";
    } else {
        args << "-ac"
             << "2"
             << "-c:a"
             << "pcm_s16le";
    }
    args << path;
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), args);
    if (!ffmpeg.waitForFinished(60000) || ffmpeg.exitCode() != 0) return {};
    return path;
}
