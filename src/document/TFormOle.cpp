#include "document/TFormOle.h"

#include "document/DocumentContainer.h"
#include "document/EditorTools.h"
#include "document/FindReplaceDialog.h"
#include "document/SpellChecker.h"
#include "document/SpellHighlighter.h"
#include "widgets/PinButton.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QStatusBar>
#include <QThread>
#include <QVBoxLayout>

TFormOle::TFormOle()
{
    setObjectName(QStringLiteral("FormOle"));
    setWindowTitle(QStringLiteral("Текст"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // The window keeps a menu bar of its own with no items.
    auto *menu = new QMenuBar(this);
    menu->setObjectName(QStringLiteral("MainMenu1"));
    layout->setMenuBar(menu);
    auto *note = new QLabel(QStringLiteral("Не удалять это меню, оно против глюка по ALT"), this);
    note->hide();
    JvCaptionButton1 = new PinButton(this, menu);
    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setWidgetResizable(true);
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    ScrollBox1->setToolTip(QStringLiteral("Закрыть"));
    OleContainer1 = new DocumentContainer;
    OleContainer1->setObjectName(QStringLiteral("OleContainer1"));
    OleContainer1->setAccessibleName(QStringLiteral("Текст документа"));
    OleContainer1->LoadEmpty();
    SetEditorFont(OleContainer1, DefaultEditorFont());
    ScrollBox1->setWidget(OleContainer1);
    layout->addWidget(ScrollBox1);
    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setSizeGripEnabled(false);
    layout->addWidget(StatusBar);
    WordCount = new WordCountLabel(OleContainer1);
    StatusBar->addPermanentWidget(WordCount);

    Tools = new EditorActions(OleContainer1);
    Find = new FindReplaceDialog(OleContainer1);
    SpellingOn = new QAction(QStringLiteral("Проверять орфографию"), this);
    SpellingOn->setObjectName(QStringLiteral("SpellingOn"));
    SpellingOn->setCheckable(true);
    SpellingOn->setChecked(true);
    connect(SpellingOn, &QAction::toggled, this, [this](bool on) {
        if (m_spell) m_spell->setEnabled(on);
    });
    OleContainer1->extendMenu = [this](QMenu *m, const QPoint &at) { extendMenu(m, at); };
    resize(800, 600);
}

TFormOle::~TFormOle()
{
    if (m_spellLoader) m_spellLoader->wait();
}

void TFormOle::startSpellChecking(const QString &userDictionary)
{
    if (m_spellLoader) return;
    QThread *main = thread();
    // Hunspell reads its dictionaries for a good fraction of a second: not on the thread that
    // shows the windows. The checker is handed over when the thread has finished.
    m_spellLoader = QThread::create([this, userDictionary, main] {
        m_loadedSpell = std::make_unique<SpellChecker>(userDictionary);
        m_loadedSpell->moveToThread(main);
    });
    m_spellLoader->setParent(this);
    connect(m_spellLoader, &QThread::finished, this, [this] {
        m_spell = std::move(m_loadedSpell);
        m_spell->setEnabled(SpellingOn->isChecked());
        if (m_spell->available()) {
            auto *underlines = new SpellHighlighter(*m_spell, OleContainer1->document());
            // A whole new text is checked from the event loop, so that it shows at once.
            connect(OleContainer1, &DocumentContainer::aboutToReplace, underlines,
                    &SpellHighlighter::checkInBackground);
        }
        emit spellCheckerReady();
    });
    m_spellLoader->start(QThread::LowPriority);
}

void TFormOle::extendMenu(QMenu *menu, const QPoint &at)
{
    if (m_spell && m_spell->available()) {
        AddSpellingActions(*m_spell, OleContainer1, at, menu);
        menu->addSeparator();
        menu->addAction(SpellingOn);
    }
    Tools->appendTo(menu);
    Find->appendTo(menu);
}
