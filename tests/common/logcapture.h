#pragma once

#include <QRegularExpression>
#include <QStringList>

// Captures every message that goes through Qt's message handler while it
// lives: the level and the whole text of each line, exactly as the handler got
// it, so that tests compare complete log lines. Captures nest: the innermost
// one gets the messages, and the previous handler comes back on destruction.
class LogCapture
{
public:
    struct Line
    {
        QtMsgType type;
        QString text;
        bool operator==(const Line &o) const { return type == o.type && text == o.text; }
    };

    LogCapture();
    ~LogCapture();
    Q_DISABLE_COPY(LogCapture)

    QList<Line> lines() const;
    QStringList texts(QtMsgType type) const;
    QStringList debugLines() const { return texts(QtDebugMsg); }
    QStringList warningLines() const { return texts(QtWarningMsg); }
    QStringList linesStartingWith(QtMsgType type, const QString &prefix) const
    {
        return texts(type).filter(
            QRegularExpression(QLatin1Char('^') + QRegularExpression::escape(prefix)));
    }
    int count(QtMsgType type, const QString &text) const { return texts(type).count(text); }
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
