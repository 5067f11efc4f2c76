#include "windows/Speakers.h"

#include "platform/TextTarget.h"
#include "windows/TForm5.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

Speakers::Speakers(const Controls &controls, TForm5 &window, TextTarget &text)
    : m_c(controls), m_window(window), m_text(text)
{
    for (int i = 0; i < 9; ++i) {
        connect(m_window.Buttons[i], &QPushButton::clicked, this, [this, i] { TypeRow(i + 1); });
        connect(m_c.N23x[i], &QAction::triggered, this, [this, i] { TypeSpeaker(i + 1); });
    }
    // Shown, or brought forward when it is already open.
    connect(m_c.N23, &QAction::triggered, &m_window, [this] {
        m_window.show();
        m_window.raise();
        m_window.activateWindow();
    });
    connect(m_window.Button1, &QPushButton::clicked, this, &Speakers::Button1Click);
    connect(m_window.Button2, &QPushButton::clicked, &m_window, &QWidget::close);
    connect(&m_window, &TForm5::shown, this, &Speakers::FormShow);
    for (QLineEdit *e : m_window.Edits) e->installEventFilter(this);
    m_window.Edit10->installEventFilter(this);
    m_window.Edit11->installEventFilter(this);
}

QString Speakers::Compose(const QString &name, const QString &prefix, const QString &suffix)
{
    return prefix + name + suffix;
}

void Speakers::type(const QString &text)
{
    if (!text.isEmpty()) m_text.InsertText(text);
    QCoreApplication::processEvents();
    m_text.BringTextWindowForward();
}

// What the window shows; hidden, what it shows when it is shown: the names in force for the
// open recording, not what it held when it was last closed.
void Speakers::TypeRow(int row)
{
    if (!m_window.isVisible()) {
        TypeSpeaker(row);
        return;
    }
    type(Compose(m_window.Edits[row - 1]->text(), m_window.Edit10->text(), m_window.Edit11->text()));
}

void Speakers::TypeSpeaker(int row) { type(Compose(SpeakerNames[row - 1], SpeakerPrefix, SpeakerSuffix)); }

void Speakers::Button1Click()
{
    for (int i = 0; i < 9; ++i) SpeakerNames[i] = m_window.Edits[i]->text();
    SpeakerPrefix = m_window.Edit10->text();
    SpeakerSuffix = m_window.Edit11->text();
    updateMenu();
    m_window.close();
}

void Speakers::updateMenu()
{
    for (int i = 0; i < 9; ++i) {
        const QString &name = SpeakerNames[i];
        m_c.N23x[i]->setText(name.trimmed().isEmpty() ? QStringLiteral("Участник&%1: ").arg(i + 1)
                                                      : QStringLiteral("&%1. ").arg(i + 1) + name);
    }
}

void Speakers::KeptNamesLoaded()
{
    updateMenu();
    if (m_window.isVisible()) FormShow(); // another recording's names are never shown for this one
}

void Speakers::FormShow()
{
    for (int i = 0; i < 9; ++i) m_window.Edits[i]->setText(SpeakerNames[i]);
    m_window.Edit10->setText(SpeakerPrefix);
    m_window.Edit11->setText(SpeakerSuffix);
}

bool Speakers::eventFilter(QObject *watched, QEvent *event)
{
    auto *edit = qobject_cast<QLineEdit *>(watched);
    if (!edit) return false;
    // No leading blanks by typing, and an edit of blanks only is left empty.
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->text() == QLatin1String(" ") &&
        edit->text().trimmed().isEmpty())
        return true;
    if (event->type() == QEvent::FocusOut && !edit->text().isEmpty() && edit->text().trimmed().isEmpty()) edit->clear();
    return false;
}
