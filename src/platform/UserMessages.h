#pragma once

#include <QString>
#include <QStringList>

// A file dialog's title, filters (Qt's "Name (patterns)" form), the filter picked last and
// the default extension.
struct FileDialogSpec {
    QString title;
    QStringList filters;
    int filterIndex = 0;
    QString defaultExt;
};

// Modal message boxes and file dialogs, behind an interface so that tests see the messages instead of
// blocking on a dialog.
class UserMessages {
public:
    virtual ~UserMessages() = default;
    virtual void error(const QString &caption, const QString &text) = 0;
    // A message with the information icon and an OK button.
    virtual void information(const QString &caption, const QString &text) = 0;
    // Asks for an existing file; empty when cancelled. The filter the user picks is kept in
    // spec.filterIndex for the next time.
    virtual QString openFile(FileDialogSpec &spec, const QString &initialPath) = 0;
    // Asks for a file to write; empty when cancelled.
    virtual QString saveFile(FileDialogSpec &spec, const QString &initialPath) = 0;
    // A question box with OK and Cancel; true on OK.
    virtual bool question(const QString &caption, const QString &text) = 0;
    // The application's standard error box, titled with the application title.
    void standardError(const QString &text) { error(QStringLiteral("Stenova"), text); }
};

class QtUserMessages : public UserMessages {
public:
    void error(const QString &caption, const QString &text) override;
    void information(const QString &caption, const QString &text) override;
    QString openFile(FileDialogSpec &spec, const QString &initialPath) override;
    QString saveFile(FileDialogSpec &spec, const QString &initialPath) override;
    bool question(const QString &caption, const QString &text) override;
};
