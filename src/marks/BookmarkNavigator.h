#pragma once

#include <QString>
#include <Qt>

class PlayerFacade;
class ScrollLock;
class SoundPlayer;
class TForm1;
class TForm2;
class BookmarkTable;
struct MainOperations;

// Adding bookmarks, the back and forward jumps between them, their marks above the position
// bar, and the bounds of the between-bookmarks segment that the main tick loops.
class BookmarkNavigator {
public:
    BookmarkNavigator(TForm1 &form, TForm2 &bookmarks, PlayerFacade &player, ScrollLock &scrollLock, SoundPlayer &sound,
                      MainOperations &ops);

    void BitBtn1Click();                         // add at the current position
    void BitBtn3Click(bool bookmarkOrA = false); // back; the ESC stop uses the bookmark-or-A variant
    void BitBtn4Click();                         // forward
    void CheckBox8Click();                       // the segment around the current position
    void PlaceBookmarkMark(int row);
    void ImageZkMouseDown(int slot, Qt::MouseButton button);
    void N20Click();
    // The bookmarks window's delete: the selected bookmark goes, its mark with it.
    void DeleteSelectedBookmark();
    // Opening another file empties the table and starts the names at z1 again.
    void DeleteAllBookmarks();
    void ResetBookmarkNumbering();

    // The pixel column of a time on a bar of the given range and width; 0 when outside.
    static int TimelineColumn(int ms, int minimum, int maximum, int width);
    // The position as the labels show it, "hh:nn:ss.zzz".
    QString positionText() const;

private:
    BookmarkTable &table();
    QString nextName(int row) const;
    void seekUser(const QString &timeText);
    void repeatSeekAndRecompute();

    TForm1 &m_form;
    TForm2 &m_bookmarks;
    PlayerFacade &m_player;
    ScrollLock &m_scrollLock;
    SoundPlayer &m_sound;
    MainOperations &m_ops;
};
