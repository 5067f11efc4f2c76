#pragma once

#include <QString>
#include <Qt>

class PlayerFacade;
class TForm1;
class BookmarkTable;
struct MainOperations;

// The AB interval: A and B set from the position or typed, the AB loop switch, the jumps to
// A and B, the shifts (plain, by N bookmarks, from the list) and the marks over the bar.
class ABInterval {
public:
    ABInterval(TForm1 &form, BookmarkTable &bookmarks, PlayerFacade &player, MainOperations &ops);

    void CheckBox7Click();
    void SpeedButton5Click(); // [A
    void SpeedButton6Click(); // B]
    void LabelAMouseDown(Qt::MouseButton button);
    void LabelBMouseDown(Qt::MouseButton button);
    void CheckBox14Click();
    void SpeedButton10Click(); // <-AB
    void SpeedButton11Click(); // AB->
    // Places A, B and the band between them over the position bar.
    void redrawMarks();

private:
    QString a() const;
    QString b() const;
    void setAB(const QString &a, const QString &b);
    int findRow(const QString &time) const;
    QString rowTime(int row) const;
    void afterShift();
    void goTo(const QString &time, Qt::MouseButton button);

    TForm1 &m_form;
    BookmarkTable &m_table;
    PlayerFacade &m_player;
    MainOperations &m_ops;
};
