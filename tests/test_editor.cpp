// A small editor for the desktop tests: another program to type in. It writes its text to
// <state>.text on every change and appends the name of every Escape and Space it receives to
// <state>.keys, and writes its window id to <state>.window once it is shown.
//   test_editor <state> [text] [selection start] [selection length]
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QTimer>

namespace {

void Write(const QString &path, const QByteArray &data, bool append = false)
{
    if (append) {
        QFile f(path);
        if (f.open(QIODevice::Append)) f.write(data);
        return;
    }
    QSaveFile f(path);
    if (f.open(QIODevice::WriteOnly)) {
        f.write(data);
        f.commit();
    }
}

class KeyLog : public QObject {
public:
    explicit KeyLog(QString path) : m_path(std::move(path)) {}
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(e)->key();
            if (key == Qt::Key_Escape) Write(m_path, "Escape\n", true);
            if (key == Qt::Key_Space) Write(m_path, "Space\n", true);
        }
        return false;
    }

private:
    QString m_path;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2) return 2;
    const QString state = QString::fromLocal8Bit(argv[1]);
    QPlainTextEdit edit;
    edit.setWindowTitle(QStringLiteral("Test editor"));
    edit.resize(500, 300);
    KeyLog log(state + QStringLiteral(".keys"));
    edit.installEventFilter(&log);
    QObject::connect(&edit, &QPlainTextEdit::textChanged,
                     [&] { Write(state + QStringLiteral(".text"), edit.toPlainText().toUtf8()); });
    if (argc > 2) edit.setPlainText(QString::fromUtf8(argv[2]));
    if (argc > 4) {
        QTextCursor c = edit.textCursor();
        c.setPosition(QString::fromUtf8(argv[3]).toInt());
        c.setPosition(c.position() + QString::fromUtf8(argv[4]).toInt(), QTextCursor::KeepAnchor);
        edit.setTextCursor(c);
    } else {
        edit.moveCursor(QTextCursor::End);
    }
    edit.show();
    edit.activateWindow();
    QTimer::singleShot(0, [&] { Write(state + QStringLiteral(".window"), QByteArray::number(edit.winId())); });
    return QApplication::exec();
}
