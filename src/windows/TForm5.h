#pragma once

#include <QWidget>

// The speakers window.
class TForm5 : public QWidget {
    Q_OBJECT
public:
    TForm5();
    bool visibleAtClose = false;
};
