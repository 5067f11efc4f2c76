#include "ProgramFixture.h"

#include "app/MediaSettingsFile.h"

#include "windows/Speakers.h"
#include "windows/TForm5.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace {

class SpeakersTest : public ProgramTest {
protected:
    void SetUp() override
    {
        start();
        desktop.onPaste = [this](WindowId, const QString &t) { typed << t; };
    }
    TForm5 &window() { return *program->Form5(); }
    QStringList typed;
};

} // namespace

TEST_F(SpeakersTest, ComposedText)
{
    EXPECT_EQ(Speakers::Compose(QStringLiteral("Анна"), QString(), QStringLiteral(":")), "Анна:");
    EXPECT_EQ(Speakers::Compose(QStringLiteral("Анна"), QStringLiteral("— "), QString()), "— Анна");
    EXPECT_EQ(Speakers::Compose(QString(), QString(), QStringLiteral(":")), ":");
}

TEST_F(SpeakersTest, AfterTextStartsEmptyAndTheWindowShowsTheKeptNames)
{
    EXPECT_EQ(window().Edit11->text(), ""); // the loaded (empty) value replaced the design's ":"
    program->speakers().SpeakerNames[1] = QStringLiteral("Борис");
    form().N23->trigger();
    EXPECT_TRUE(window().isVisible());
    EXPECT_EQ(window().Edits[1]->text(), "Борис");
}

TEST_F(SpeakersTest, RowButtonsTypeWhatTheWindowShowsAndMenuItemsWhatIsKept)
{
    form().N23->trigger();
    window().Edits[0]->setText(QStringLiteral("Анна"));
    window().Edit11->setText(QStringLiteral(":"));
    window().Buttons[0]->click(); // not confirmed yet: typed from the window
    window().Buttons[4]->click(); // an empty slot types the after-text alone
    form().N23x[0]->trigger();    // the kept name is still empty, the kept after-text too
    EXPECT_EQ(typed, QStringList({"Анна:", ":"}));

    window().Button1->click(); // "ОК"
    EXPECT_FALSE(window().isVisible());
    EXPECT_EQ(form().N23x[0]->text(), "&1. Анна");
    EXPECT_EQ(form().N23x[2]->text(), "Участник&3: ");
    form().N23x[0]->trigger();
    EXPECT_EQ(typed.last(), "Анна:");

    form().N23->trigger();
    window().Edits[0]->setText(QStringLiteral("Вера"));
    window().Button2->click(); // "Отмена" keeps nothing
    EXPECT_EQ(program->speakers().SpeakerNames[0], "Анна");
    window().Edits[0]->clear();
    window().Button1->click();
    EXPECT_EQ(form().N23x[0]->text(), "Участник&1: ");
}

// The hot keys type the names in force for the open recording, whether the window has been
// shown since the start or not, and a shown window follows the recording opened.
TEST_F(SpeakersTest, HotKeysTypeTheOpenRecordingsNamesShownOrNot)
{
    const auto hotKey1 = [&] { desktop.hotKey(ModCtrl | ModShift, VK::Digit0 + 1); };
    openMedia(QStringLiteral("a.wav"));
    form().N23->trigger();
    window().Edits[0]->setText(QStringLiteral("Анна"));
    window().Edit11->setText(QStringLiteral(":"));
    window().Button1->click(); // "ОК"
    form().N23->trigger();
    window().Edits[0]->setText(QStringLiteral("Вера"));
    window().Button2->click(); // "Отмена": the window no longer shows "Вера" when shown again
    hotKey1();
    EXPECT_EQ(typed.last(), "Анна:");

    form().N23->trigger();
    const QString b = mediaFile(QStringLiteral("b.wav"));
    QFile names(MediaSettingsFile::PathFor(b));
    ASSERT_TRUE(names.open(QIODevice::WriteOnly));
    names.write("[MAIN]\r\nУчастник1=Борис\r\n");
    names.close();
    openMedia(QStringLiteral("b.wav"));
    EXPECT_EQ(window().Edits[0]->text(), "Борис");
    window().close();

    openMedia(QStringLiteral("a.wav"));
    form().close();
    program.reset();
    start(); // a.wav opens again, the window not shown
    typed.clear();
    hotKey1();
    EXPECT_EQ(typed, QStringList({"Анна:"}));
}

TEST_F(SpeakersTest, NoLeadingBlanks)
{
    QLineEdit *e = window().Edits[2];
    QKeyEvent blank(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QCoreApplication::sendEvent(e, &blank);
    EXPECT_EQ(e->text(), "");
    e->setText(QStringLiteral("  "));
    QFocusEvent out(QEvent::FocusOut);
    QCoreApplication::sendEvent(e, &out);
    EXPECT_EQ(e->text(), "");
    e->setText(QStringLiteral("Ян"));
    QKeyEvent blank2(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QCoreApplication::sendEvent(e, &blank2);
    EXPECT_EQ(e->text(), "Ян ");
}
