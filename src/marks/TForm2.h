#pragma once

#include <QWidget>

// The bookmarks window.
class TForm2 : public QWidget {
    Q_OBJECT
public:
    TForm2();
};
