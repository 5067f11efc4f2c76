#pragma once

#include <QString>
#include <QStringList>

// Modal message boxes, behind an interface so that tests see the messages instead of
// blocking on a dialog.
class UserMessages {
public:
    virtual ~UserMessages() = default;
    virtual void error(const QString &caption, const QString &text) = 0;
    // The application's standard error box, titled with the application title.
    void standardError(const QString &text) { error(QStringLiteral("Stenova"), text); }
};

class QtUserMessages : public UserMessages {
public:
    void error(const QString &caption, const QString &text) override;
};

// Test double: remembers every message.
class RecordedMessages : public UserMessages {
public:
    void error(const QString &caption, const QString &text) override
    {
        errors << caption + u'|' + text;
    }
    QStringList errors;
};
