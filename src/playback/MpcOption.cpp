#include "playback/MpcOption.h"

#include "app/TForm1.h"
#include "platform/UserMessages.h"
#include "playback/TMPCHC.h"

#include <QAction>
#include <QFileInfo>
#include <QLineEdit>

MpcOption::MpcOption(TForm1 &form, UserMessages &messages) : m_form(form), m_messages(messages)
{
    QObject::connect(m_form.NMPC, &QAction::triggered, m_form.NMPC, [this] { NMPCClick(); });
}

bool MpcOption::IsPlayerPath(const QString &path)
{
    return QFileInfo(path).isFile() && path.contains(QLatin1String("mpv"));
}

void MpcOption::NMPCClick()
{
    if (m_form.NMPC->isChecked()) CheckPlayerPath();
}

void MpcOption::CheckPlayerPath()
{
    TMPCHC &mpc = *m_form.MPCHC;
    if (IsPlayerPath(mpc.PlayerPath)) return;
    const QString title = QStringLiteral("Ошибка!");
    m_messages.error(title, QStringLiteral("Не найден файл проигрывателя (mpv) по пути:\r\n") + mpc.PlayerPath);
    mpc.PlayerPath = m_messages.openFile(m_form.OpenDialogMPC, mpc.PlayerPath);
    if (!IsPlayerPath(mpc.PlayerPath)) {
        m_form.NMPC->setChecked(false);
        m_messages.error(
            title, QStringLiteral("Снова не найден файл проигрывателя (mpv) по пути:\r\n") + mpc.PlayerPath +
                       QStringLiteral("\r\nПараметр «Все файлы открывать в MPC-HC проигрывателе» будет отключен!"));
    }
    m_form.EditNMPC->setText(mpc.PlayerPath);
}
