#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// The one exception type of the program: a failure with a message for the user. Low layers raise
// it ("Database is not opened!"); forms catch it where the user can act and show Message().
class Exception : public std::exception {
public:
    explicit Exception(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}

    const QString& Message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// A failure reported by the database or its driver; the message names the cause.
class EDatabaseError : public Exception {
public:
    using Exception::Exception;
};
