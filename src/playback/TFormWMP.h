#pragma once

#include <QWidget>

// The video window. Closing it only hides it.
class TFormWMP : public QWidget {
    Q_OBJECT
public:
    TFormWMP();
    bool visibleAtClose = true;
};
