#pragma once

#include <Qt>

class BookmarkNavigator;
class BookmarkTable;
class MarkSlots;
class PlayerFacade;
class QCheckBox;
class TForm2;
class TimelineZoom;
class TrackBar;
class UserMessages;

// What the bookmarks window does: the grid's mouse and Enter, delete, delete all, the refresh
// that trims, re-places the marks and sorts the rows with their marks, go to, add, and its
// showing from the main window.
class BookmarkWindow {
public:
    struct Controls {
        TrackBar *TrackBar1;
        QCheckBox *CheckBoxTrack; // the [AB] zoom
        MarkSlots *MarkImages;
    };

    BookmarkWindow(const Controls &controls, TForm2 &window, BookmarkNavigator &navigator, PlayerFacade &player,
                   TimelineZoom &zoom, UserMessages &messages);

    void N12Click(); // shows the window, or brings it forward
    void StringGrid1MouseDown(int column, int row, Qt::MouseButton button);
    void StringGrid1KeyDownEnter(); // the current row's mark to its time
    void BitBtn1Click();            // delete the current bookmark
    void BitBtn3Click();            // delete all, after asking
    void BitBtn5Click();            // refresh the marks and sort
    void BitBtn2Click();            // go to the current bookmark

private:
    BookmarkTable &table() const;
    int markOf(int row) const; // the first visible mark showing the row; -1 for none
    void replaceMark(int row);
    void seekTo(int row);

    const Controls m_c;
    TForm2 &m_window;
    BookmarkNavigator &m_navigator;
    PlayerFacade &m_player;
    TimelineZoom &m_zoom;
    UserMessages &m_messages;
};
