#include "forms/PedalWindow.h"

#include "persist/IniFile.h"
#include "platform/FootPedal.h"
#include "platform/ProgramFolder.h"

#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace {

const QString Section = QStringLiteral("Педали");
const QString DeviceKey = QStringLiteral("Устройство");
const QString KeysKey = QStringLiteral("Клавиши");
const QString Keys[3] = {QStringLiteral("Левая"), QStringLiteral("Средняя"), QStringLiteral("Правая")};
const QString Pedals[3] = {QStringLiteral("левую"), QStringLiteral("среднюю"), QStringLiteral("правую")};
constexpr PedalAction Choices[] = {PedalAction::HoldToPlay, PedalAction::Back, PedalAction::Forward,
                                   PedalAction::Bookmark, PedalAction::None};

void Save(std::initializer_list<std::pair<QString, QString>> values)
{
    IniFile::Update(SettingsPath(), Section, values);
}

} // namespace

PedalWindow::PedalWindow(FootPedals &pedals, FootPedal &pedal) : m_pedals(pedals), m_pedal(pedal)
{
    setObjectName(QStringLiteral("PedalWindow"));
    setWindowTitle(QStringLiteral("Педали"));
    auto *layout = new QVBoxLayout(this);
    Device = new QLabel(this);
    Device->setWordWrap(true);
    Device->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(Device);

    auto *form = new QFormLayout;
    auto *deviceRow = new QHBoxLayout;
    Keyboard = new QComboBox(this);
    Keyboard->setObjectName(QStringLiteral("Keyboard"));
    Keyboard->setToolTip(QStringLiteral("Педаль, которая работает как клавиатура, или педаль USB, которую "
                                        "программа находит сама"));
    Learn = new QPushButton(QStringLiteral("&Запомнить педали"), this);
    Learn->setToolTip(QStringLiteral("Нажмите затем левую, среднюю и правую педаль"));
    deviceRow->addWidget(Keyboard, 1);
    deviceRow->addWidget(Learn);
    form->addRow(QStringLiteral("&Устройство:"), deviceRow);
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

    connect(Learn, &QPushButton::clicked, this, &PedalWindow::startLearning);
    connect(&pedal, &FootPedal::keyPressed, this, &PedalWindow::learn);
    connect(&pedal, &FootPedal::changed, this, [this] { showHeld(m_pedal.down()); });
    connect(&pedal, &FootPedal::gone, this, [this] {
        m_learning = -1;
        Device->setText(QStringLiteral("Педаль отключена. Подключите ее и нажмите «Запомнить педали»."));
    });
    // Closed while learning: the pedal set before is taken again.
    connect(this, &QDialog::finished, this, [this] {
        if (m_learning >= 0) OpenDevice();
    });
    showHeld(0);
    ListKeyboards(QStringLiteral("/dev/input/by-id"));
}

void PedalWindow::ListKeyboards(const QString &folder)
{
    Keyboard->clear();
    Keyboard->addItem(QStringLiteral("Педаль USB (находится сама)"), QString());
    for (const QString &path : FootPedal::KeyboardDevices(folder)) Keyboard->addItem(QFileInfo(path).fileName(), path);
}

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
    if (settings && missing) ini.save(); // not at every start
}

QString PedalWindow::OpenDevice()
{
    m_learning = -1;
    IniFile ini;
    ini.load(SettingsPath());
    QString path = ini.value(Section, DeviceKey).trimmed(), model, error;
    bool opened = false;
    if (!path.isEmpty()) {
        const QStringList codes = ini.value(Section, KeysKey).split(u',');
        int key[3] = {};
        for (int i = 0; i < 3 && i < codes.size(); ++i) key[i] = codes[i].trimmed().toInt();
        model = QFileInfo(path).fileName();
        opened = m_pedal.open(path, FootPedal::Kind::InputKeys, &error, key);
        if (Keyboard->findData(path) < 0) Keyboard->addItem(QFileInfo(path).fileName(), path);
        Keyboard->setCurrentIndex(Keyboard->findData(path));
    } else if (!(path = FootPedal::Find(&model)).isEmpty()) {
        opened = m_pedal.open(path, FootPedal::Kind::HidReports, &error);
    }
    if (opened) {
        Device->setText(QStringLiteral("Педаль: %1 (%2).").arg(model, path));
        return {};
    }
    if (path.isEmpty()) {
        m_pedal.close();
        Device->setText(QStringLiteral("Педаль не найдена."));
        return {};
    }
    const QString message = QStringLiteral("Педаль %1 найдена, но %2 не читается (%3). Добавьте правило udev "
                                           "из README и подключите педаль заново.")
                                .arg(model, path, error);
    Device->setText(message);
    return message;
}

// The keyboard chosen is opened without keys, and its next three different keys pressed are
// the left, middle and right pedal. Without a keyboard chosen, the USB pedal is looked for.
void PedalWindow::startLearning()
{
    const QString path = Keyboard->currentData().toString();
    if (path.isEmpty()) {
        Save({{DeviceKey, QString()}, {KeysKey, QString()}});
        OpenDevice();
        return;
    }
    QString error;
    if (!m_pedal.open(path, FootPedal::Kind::InputKeys, &error)) {
        Device->setText(QStringLiteral("%1 не читается (%2). Добавьте правило udev из README и подключите педаль "
                                       "заново.")
                            .arg(path, error));
        return;
    }
    m_learning = 0;
    Device->setText(QStringLiteral("Нажмите %1 педаль.").arg(Pedals[0]));
}

void PedalWindow::learn(int code)
{
    if (m_learning < 0 || std::find(m_learnt, m_learnt + m_learning, code) != m_learnt + m_learning) return;
    m_learnt[m_learning++] = code;
    if (m_learning < 3) {
        Device->setText(QStringLiteral("Нажмите %1 педаль.").arg(Pedals[m_learning]));
        return;
    }
    m_learning = -1;
    Save({{DeviceKey, Keyboard->currentData().toString()},
          {KeysKey, QStringLiteral("%1,%2,%3").arg(m_learnt[0]).arg(m_learnt[1]).arg(m_learnt[2])}});
    // Opened again with its keys once the reader is done with this report.
    QTimer::singleShot(0, this, &PedalWindow::OpenDevice);
}

void PedalWindow::choose(int pedal, PedalAction action)
{
    m_pedals.actions[pedal] = action;
    Save({{Keys[pedal], FootPedals::ActionText(action)}});
}

void PedalWindow::showHeld(int down)
{
    QStringList names;
    for (int i = 0; i < 3; ++i)
        if (down & (1 << i)) names << Keys[i];
    Held->setText(names.isEmpty() ? QStringLiteral("Нажатых педалей нет.")
                                  : QStringLiteral("Нажата: %1.").arg(names.join(QStringLiteral(", "))));
}
