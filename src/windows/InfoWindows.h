#pragma once

#include <QDialog>

class QPushButton;
class QTextBrowser;

// A window that shows a fixed text with a close button.
class InfoWindow : public QDialog {
    Q_OBJECT
public:
    InfoWindow(const char *objectName, const QString &title, const QString &html, QSize size);
    QTextBrowser *text;
    QPushButton *closeButton;
    class QHBoxLayout *buttonRow;
};

class TForm4 : public InfoWindow { // donation
public:
    TForm4();
};

class TFormHelp : public InfoWindow {
public:
    TFormHelp();
};

class TFormAbout : public InfoWindow {
public:
    TFormAbout();
    QPushButton *donateButton;
};
