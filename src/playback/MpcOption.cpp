#include "playback/MpcOption.h"

#include "platform/UserMessages.h"
#include "playback/TMPCHC.h"

#include <QAction>
#include <QFileInfo>
#include <QLineEdit>

MpcOption::MpcOption(const Controls &controls, UserMessages &messages) : m_c(controls), m_messages(messages)
{
    QObject::connect(m_c.NMPC, &QAction::triggered, m_c.NMPC, [this] { NMPCClick(); });
}

bool MpcOption::IsPlayerPath(const QString &path)
{
    return QFileInfo(path).isFile() && path.contains(QLatin1String("mpv"));
}

void MpcOption::NMPCClick()
{
    if (m_c.NMPC->isChecked()) CheckPlayerPath();
}

void MpcOption::CheckPlayerPath()
{
    TMPCHC &mpc = *m_c.MPCHC;
    if (IsPlayerPath(mpc.PlayerPath)) return;
    const QString title = QStringLiteral("Ошибка!");
    m_messages.error(title, QStringLiteral("Не найден файл проигрывателя (mpv) по пути:\r\n") + mpc.PlayerPath);
    mpc.PlayerPath = m_messages.openFile(*m_c.OpenDialogMPC, mpc.PlayerPath);
    if (!IsPlayerPath(mpc.PlayerPath)) {
        m_c.NMPC->setChecked(false);
        m_messages.error(
            title, QStringLiteral("Снова не найден файл проигрывателя (mpv) по пути:\r\n") + mpc.PlayerPath +
                       QStringLiteral("\r\nПараметр «Все файлы открывать в MPC-HC проигрывателе» будет отключен!"));
    }
    m_c.EditNMPC->setText(mpc.PlayerPath);
}
