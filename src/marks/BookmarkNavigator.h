#pragma once

#include <QString>
#include <Qt>

class BookmarkTable;
class MarkSlots;
class MarkStrip;
class PlayerFacade;
class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class ScrollLock;
class SoundPlayer;
class TForm2;
class TextTarget;
class TrackBar;
class UpDown;
struct LoopState;

// Adding bookmarks, the back and forward jumps between them, their marks above the position
// bar, and the bounds of the between-bookmarks segment that the main tick loops.
class BookmarkNavigator {
public:
    struct Controls {
        QPushButton *BitBtn1, *BitBtn3, *BitBtn4;
        QToolButton *SpeedButton1, *SpeedButton3, *SpeedButton4;
        QAction *N20;
        QLabel *Label1, *Label11, *Label5;
        QLineEdit *MaskEdit1, *MaskEdit2, *MaskEdit3, *MaskEdit4;
        QCheckBox *CheckBox7, *CheckBox8, *CheckBox9, *CheckBox10;
        UpDown *UpDown6;
        TrackBar *TrackBar1;
        MarkStrip *Panel3;
        MarkSlots *MarkImages;
    };

    BookmarkNavigator(const Controls &controls, TForm2 &bookmarks, LoopState &loop, PlayerFacade &player,
                      ScrollLock &scrollLock, SoundPlayer &sound, TextTarget &text);

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
    // The table to its header and one empty row, every mark hidden and freed: a settings
    // file's bookmarks are read into it.
    void ClearTableAndMarks();

    // The pixel column of a time on a bar of the given range and width; 0 when outside.
    static int TimelineColumn(int ms, int minimum, int maximum, int width);
    // The position as the labels show it, "hh:nn:ss.zzz".
    QString positionText() const;

private:
    BookmarkTable &table();
    QString nextName(int row) const;
    void seekUser(const QString &timeText);
    void repeatSeekAndRecompute();

    const Controls m_c;
    TForm2 &m_bookmarks;
    LoopState &m_loop;
    PlayerFacade &m_player;
    ScrollLock &m_scrollLock;
    SoundPlayer &m_sound;
    TextTarget &m_text;
    int m_lastBackRow = -1;    // paused, the back jump passes over the row it reached last
    int m_lastForwardRow = -1; // and the forward jump likewise
    bool m_soundAvailable = false;
};
