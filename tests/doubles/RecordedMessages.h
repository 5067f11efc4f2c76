#pragma once

#include "platform/UserMessages.h"

#include <QStringList>

// Test double: remembers every message.
class RecordedMessages : public UserMessages {
public:
    void error(const QString &caption, const QString &text) override { errors << caption + u'|' + text; }
    void information(const QString &caption, const QString &text) override { notices << caption + u'|' + text; }
    // Answers the file dialogs from the front of filesToOpen (empty: cancelled).
    QString openFile(FileDialogSpec &spec, const QString &initialPath) override
    {
        dialogs << spec.title + u'|' + initialPath;
        return filesToOpen.isEmpty() ? QString() : filesToOpen.takeFirst();
    }
    QString saveFile(FileDialogSpec &spec, const QString &initialPath) override { return openFile(spec, initialPath); }
    // Answers the questions from the front of answers (none left: Cancel).
    bool question(const QString &caption, const QString &text) override
    {
        questions << caption + u'|' + text;
        return !answers.isEmpty() && answers.takeFirst();
    }
    QStringList errors;
    QStringList notices;
    QStringList questions;
    QList<bool> answers;
    QStringList dialogs;
    QStringList filesToOpen;
};
