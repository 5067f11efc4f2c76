#pragma once

#include "platform/UserMessages.h"

#include <QStringList>

// Test double: remembers every message.
class RecordedMessages : public UserMessages {
public:
    void error(const QString &caption, const QString &text) override { errors << caption + u'|' + text; }
    // Answers the file dialogs from the front of filesToOpen (empty: cancelled).
    QString openFile(FileDialogSpec &spec, const QString &initialPath) override
    {
        dialogs << spec.title + u'|' + initialPath;
        return filesToOpen.isEmpty() ? QString() : filesToOpen.takeFirst();
    }
    QStringList errors;
    QStringList dialogs;
    QStringList filesToOpen;
};
