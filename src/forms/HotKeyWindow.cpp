#include "forms/HotKeyWindow.h"

#include "automation/HotKeys.h"
#include "persist/IniFile.h"
#include "platform/ProgramFolder.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QString Section = QStringLiteral("Горячие клавиши");

// The virtual key of a Qt key, for the keys a combination may end with.
int VirtualKeyOf(int key)
{
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z)) return key;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return 0x70 + key - Qt::Key_F1;
    switch (key) {
    case Qt::Key_Left: return VK::Left;
    case Qt::Key_Right: return VK::Right;
    case Qt::Key_Up: return VK::Up;
    case Qt::Key_Down: return VK::Down;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    case Qt::Key_Space: return VK::Space;
    case Qt::Key_BracketLeft: return VK::OpenBracket;
    case Qt::Key_BracketRight: return VK::CloseBracket;
    case Qt::Key_Comma:
    case Qt::Key_Less: return VK::Comma;
    case Qt::Key_Period:
    case Qt::Key_Greater: return VK::Period;
    case Qt::Key_Semicolon: return 186;
    case Qt::Key_Equal:
    case Qt::Key_Plus: return VK::Equal;
    case Qt::Key_Minus: return VK::Minus;
    case Qt::Key_Slash: return 191;
    case Qt::Key_QuoteLeft: return 192;
    case Qt::Key_Backslash: return 220;
    case Qt::Key_Apostrophe: return 222;
    default: return 0;
    }
}

unsigned ModifiersOf(Qt::KeyboardModifiers m)
{
    return (m & Qt::ControlModifier ? ModCtrl : 0u) | (m & Qt::ShiftModifier ? ModShift : 0u) |
           (m & Qt::AltModifier ? ModAlt : 0u) | (m & Qt::MetaModifier ? ModWin : 0u);
}

} // namespace

QString HotKeyWindow::Describe(const QString &name)
{
    const QString suffix = QString(name).remove(QStringLiteral("JvApplicationHotKey"));
    bool digit = false;
    const int n = suffix.toInt(&digit);
    if (digit && n >= 1) return QStringLiteral("Вставить участника %1").arg(n);
    static const QHash<QString, QString> names{{QStringLiteral("0"), QStringLiteral("Список участников разговора")},
                                               {QStringLiteral("F9"), QStringLiteral("Добавить закладку")},
                                               {QStringLiteral("F10"), QStringLiteral("Назад к закладке")},
                                               {QStringLiteral("F11"), QStringLiteral("Вперед к закладке")},
                                               {QStringLiteral("A"), QStringLiteral("Начало интервала A")},
                                               {QStringLiteral("B"), QStringLiteral("Конец интервала B")},
                                               {QStringLiteral("G"), QStringLiteral("Перейти к позиции")},
                                               {QStringLiteral("Left"), QStringLiteral("Шаг назад")},
                                               {QStringLiteral("Right"), QStringLiteral("Шаг вперед")},
                                               {QStringLiteral("Up"), QStringLiteral("Громче")},
                                               {QStringLiteral("Down"), QStringLiteral("Тише")},
                                               {QStringLiteral("HotKeySlower"), QStringLiteral("Медленнее")},
                                               {QStringLiteral("HotKeyFaster"), QStringLiteral("Быстрее")}};
    return names.value(suffix, name);
}

HotKeyWindow::HotKeyWindow(HotKeyTable &table, const HotKeyTable &defaults, HotKeys &keys)
    : m_table(table), m_defaults(defaults), m_keys(keys)
{
    setObjectName(QStringLiteral("FormHotKeys"));
    setWindowTitle(QStringLiteral("Горячие клавиши"));
    auto *layout = new QVBoxLayout(this);
    Table = new QTableWidget(int(table.size()), 3, this);
    Table->setObjectName(QStringLiteral("TableHotKeys"));
    Table->setAccessibleName(windowTitle());
    Table->setHorizontalHeaderLabels(
        {QStringLiteral("Действие"), QStringLiteral("Сочетание"), QStringLiteral("Состояние")});
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table->setSelectionMode(QAbstractItemView::SingleSelection);
    Table->verticalHeader()->hide();
    Table->horizontalHeader()->setStretchLastSection(true);
    Table->setTabKeyNavigation(false);
    layout->addWidget(Table);

    auto *row = new QHBoxLayout;
    auto *label = new QLabel(QStringLiteral("&Новое сочетание:"), this);
    NewCombination = new QKeySequenceEdit(this);
    NewCombination->setObjectName(QStringLiteral("NewCombination"));
    NewCombination->setAccessibleName(QStringLiteral("Новое сочетание"));
    label->setBuddy(NewCombination);
    auto *assign = new QPushButton(QStringLiteral("&Назначить"), this);
    auto *reset = new QPushButton(QStringLiteral("По &умолчанию"), this);
    auto *close = new QPushButton(QStringLiteral("&Закрыть"), this);
    row->addWidget(label);
    row->addWidget(NewCombination, 1);
    row->addWidget(assign);
    row->addWidget(reset);
    row->addWidget(close);
    layout->addLayout(row);
    Result = new QLabel(this);
    Result->setObjectName(QStringLiteral("Result"));
    Result->setWordWrap(true);
    layout->addWidget(Result);
    resize(640, 560);

    connect(assign, &QPushButton::clicked, this, &HotKeyWindow::assignTyped);
    connect(reset, &QPushButton::clicked, this, [this] {
        const int r = Table->currentRow();
        if (r >= 0) Assign(r, m_defaults[r].modifiers, m_defaults[r].virtualKey);
    });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    refresh();
    Table->resizeColumnsToContents();
    Table->selectRow(0);
}

void HotKeyWindow::refresh()
{
    for (int r = 0; r < int(m_table.size()); ++r) {
        const GlobalHotKey &k = m_table[r];
        const QString state = !k.active                   ? QStringLiteral("выключено")
                              : m_keys.registered(k.name) ? QStringLiteral("работает")
                                                          : QStringLiteral("занято другой программой");
        const QStringList cells{Describe(k.name), HotKeyText(k.modifiers, k.virtualKey), state};
        for (int c = 0; c < 3; ++c) {
            if (!Table->item(r, c)) Table->setItem(r, c, new QTableWidgetItem);
            Table->item(r, c)->setText(cells[c]);
        }
    }
}

void HotKeyWindow::assignTyped()
{
    const QKeySequence typed = NewCombination->keySequence();
    if (typed.isEmpty()) {
        Result->setText(QStringLiteral("Нажмите новое сочетание в поле «Новое сочетание»."));
        return;
    }
    const QKeyCombination combination = typed[0];
    Assign(Table->currentRow(), ModifiersOf(combination.keyboardModifiers()), VirtualKeyOf(combination.key()));
}

bool HotKeyWindow::Assign(int row, unsigned modifiers, int virtualKey)
{
    if (row < 0 || row >= int(m_table.size())) return false;
    const QString text = HotKeyText(modifiers, virtualKey);
    if (text.isEmpty() || !(modifiers & (ModCtrl | ModAlt | ModWin))) {
        Result->setText(QStringLiteral("Нужно сочетание с Ctrl, Alt или Win и клавишей буквы, цифры, F1…F24, "
                                       "стрелки или знака."));
        return false;
    }
    for (int r = 0; r < int(m_table.size()); ++r)
        if (r != row && m_table[r].modifiers == modifiers && m_table[r].virtualKey == virtualKey) {
            Result->setText(QStringLiteral("Сочетание %1 уже назначено: «%2».").arg(text, Describe(m_table[r].name)));
            return false;
        }
    GlobalHotKey &k = m_table[row];
    const bool given = m_keys.rebind(k.name, modifiers, virtualKey);
    IniFile::Update(SettingsPath(), Section, {{k.name, text}});
    refresh();
    Result->setText(
        given ? QStringLiteral("«%1»: %2.").arg(Describe(k.name), text)
              : QStringLiteral("«%1»: %2 занято другой программой, выберите другое.").arg(Describe(k.name), text));
    NewCombination->clear();
    return given;
}

void HotKeyWindow::LoadChoices()
{
    IniFile ini;
    if (!ini.load(SettingsPath())) return;
    for (GlobalHotKey &k : m_table) {
        const auto chosen = ParseHotKeyText(ini.value(Section, k.name));
        if (chosen && *chosen != std::pair(k.modifiers, k.virtualKey))
            m_keys.rebind(k.name, chosen->first, chosen->second);
    }
    refresh();
}

void HotKeyWindow::ReportRefused(QStatusBar &status) const
{
    QStringList refused;
    for (const GlobalHotKey &k : m_table)
        if (k.active && !m_keys.registered(k.name)) refused << HotKeyText(k.modifiers, k.virtualKey);
    if (refused.isEmpty()) return;
    status.showMessage(QStringLiteral("Заняты другой программой: %1. Выберите другие сочетания: "
                                      "Настройки → Горячие клавиши...")
                           .arg(refused.join(QStringLiteral(", "))));
}
