#include "forms/PedalWindow.h"

#include "persist/IniFile.h"
#include "platform/FootPedal.h"
#include "platform/ProgramFolder.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString Section = QStringLiteral("Педали");
const QString Keys[3] = {QStringLiteral("Левая"), QStringLiteral("Средняя"), QStringLiteral("Правая")};
constexpr PedalAction Choices[] = {PedalAction::HoldToPlay, PedalAction::Back, PedalAction::Forward,
                                   PedalAction::Bookmark, PedalAction::None};

} // namespace

PedalWindow::PedalWindow(FootPedals &pedals, FootPedal &pedal) : m_pedals(pedals)
{
    setObjectName(QStringLiteral("PedalWindow"));
    setWindowTitle(QStringLiteral("Педали"));
    auto *layout = new QVBoxLayout(this);
    Device = new QLabel(this);
    Device->setWordWrap(true);
    Device->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(Device);

    auto *form = new QFormLayout;
    const QString captions[3] = {QStringLiteral("&Левая:"), QStringLiteral("&Средняя:"), QStringLiteral("&Правая:")};
    for (int i = 0; i < 3; ++i) {
        Action[i] = new QComboBox(this);
        Action[i]->setObjectName(QStringLiteral("Action%1").arg(i));
        for (PedalAction a : Choices) Action[i]->addItem(FootPedals::ActionText(a), static_cast<int>(a));
        form->addRow(captions[i], Action[i]);
        connect(Action[i], &QComboBox::activated, this,
                [this, i] { choose(i, static_cast<PedalAction>(Action[i]->currentData().toInt())); });
    }
    layout->addLayout(form);
    Held = new QLabel(this);
    layout->addWidget(Held);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    auto *close = new QPushButton(QStringLiteral("Закрыть"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    buttons->addWidget(close);
    layout->addLayout(buttons);

    connect(&pedal, &FootPedal::changed, this, [this, &pedal] { showHeld(pedal.down()); });
    connect(&pedal, &FootPedal::gone, this,
            [this] { SetDevice(QStringLiteral("Педаль отключена. Подключите ее и запустите программу заново.")); });
    showHeld(0);
    SetDevice(QStringLiteral("Педаль не найдена."));
}

void PedalWindow::SetDevice(const QString &text) { Device->setText(text); }

void PedalWindow::LoadChoices()
{
    IniFile ini;
    const bool settings = ini.load(SettingsPath());
    bool missing = false;
    for (int i = 0; i < 3; ++i) {
        const QString stored = ini.value(Section, Keys[i]);
        m_pedals.actions[i] = FootPedals::ActionOf(stored, m_pedals.actions[i]);
        const QString text = FootPedals::ActionText(m_pedals.actions[i]);
        missing = missing || stored != text;
        ini.setValue(Section, Keys[i], text);
        Action[i]->setCurrentIndex(Action[i]->findData(static_cast<int>(m_pedals.actions[i])));
    }
    if (settings && missing) ini.save(); // not at every start; the first start makes the file
}

void PedalWindow::choose(int pedal, PedalAction action)
{
    m_pedals.actions[pedal] = action;
    IniFile ini;
    if (!ini.load(SettingsPath())) return;
    ini.setValue(Section, Keys[pedal], FootPedals::ActionText(action));
    ini.save();
}

void PedalWindow::showHeld(int down)
{
    QStringList names;
    for (int i = 0; i < 3; ++i)
        if (down & (1 << i)) names << Keys[i];
    Held->setText(names.isEmpty() ? QStringLiteral("Нажатых педалей нет.")
                                  : QStringLiteral("Нажата: %1.").arg(names.join(QStringLiteral(", "))));
}
