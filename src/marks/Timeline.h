#pragma once

#include "marks/IntervalList.h"

#include <QObject>
#include <optional>

class BookmarkTable;
class MarkSlots;
class MarkStrip;
class PlayerFacade;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class TrackBar;

// The position bar as a timeline: the letters A and B with the band between them, and the
// [AB] zoom that makes the bar span only A … B. The zoom is a view: while it is on, the bar
// cannot hold a value outside A … B, so a seek outside lands on the nearer end.
class Timeline : public QObject, public TimelineZoom {
public:
    struct Controls {
        TrackBar *TrackBar1;
        MarkStrip *Panel3;
        MarkSlots *MarkImages;
        QFrame *ShapeAB;
        QLabel *LabelA, *LabelB, *LabelTrack, *Label5;
        QCheckBox *CheckBox7, *CheckBoxTrack;
        QLineEdit *MaskEdit1, *MaskEdit2;
    };

    Timeline(const Controls &controls, BookmarkTable &bookmarks, PlayerFacade &player);

    void CheckBoxTrackClick() override;
    void redrawABMarks() override;
    void LabelTrackClick();

    // Where a mark left of the strip goes while zoomed: out of sight.
    static constexpr int OutOfView = -1920;
    // The pixel column of a time on the bar as its range and width are now; nullopt when it
    // falls outside the bar's columns.
    std::optional<int> column(int ms) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override; // the click on LabelTrack

private:
    void placeLetters(int columnA, int columnB);

    const Controls m_c;
    BookmarkTable &m_bookmarks;
    PlayerFacade &m_player;
};
