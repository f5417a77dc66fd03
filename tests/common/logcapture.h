#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// Captures every message that goes through Qt's message handler while it
// lives: the level and the whole text of each line, exactly as the handler got
// it, so that tests compare complete log lines. Captures nest: the innermost
// one gets the messages, and the previous handler comes back on destruction.
class LogCapture
{
public:
    struct Line {
        QtMsgType type;
        QString text;
        bool operator==(const Line &other) const { return type == other.type && text == other.text; }
    };

    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture &) = delete;
    LogCapture &operator=(const LogCapture &) = delete;

    QList<Line> lines() const;
    // The texts of all lines at one level, in order.
    QStringList texts(QtMsgType type) const;
    QStringList debugLines() const { return texts(QtDebugMsg); }
    QStringList warningLines() const { return texts(QtWarningMsg); }
    // Lines at that level whose text starts with the prefix, in order.
    QStringList linesStartingWith(QtMsgType type, const QString &prefix) const;
    // How often exactly this line was written at that level.
    int count(QtMsgType type, const QString &text) const;
    bool contains(QtMsgType type, const QString &text) const { return count(type, text) > 0; }
    void clear();

private:
    static void handler(QtMsgType type, const QMessageLogContext &context, const QString &text);

    QtMessageHandler m_previous = nullptr;
    LogCapture *m_outer = nullptr;
    QList<Line> m_lines;
};

// QCOMPARE prints both lists on mismatch, which makes log differences easy to read.
char *toString(const LogCapture::Line &line);
