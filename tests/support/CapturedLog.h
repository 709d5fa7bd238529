#pragma once

#include <QLoggingCategory>
#include <QString>

#include <mutex>
#include <vector>

// What the program logs while one of these lives, caught and still passed on
// to the handler before it (stderr). rules: as QT_LOGGING_RULES gives them
// ("tapewren.platform.debug=true"), in force while it lives.
class CapturedLog {
public:
    struct Entry {
        QtMsgType type;
        QString category;
        QString text;
    };

    explicit CapturedLog(const QString& rules = QString()) {
        current() = this;
        m_previous = qInstallMessageHandler(&handle);
        if (!rules.isEmpty())
            QLoggingCategory::setFilterRules(rules);
    }
    ~CapturedLog() {
        QLoggingCategory::setFilterRules(QString());
        qInstallMessageHandler(m_previous);
        current() = nullptr;
    }
    CapturedLog(const CapturedLog&) = delete;
    CapturedLog& operator=(const CapturedLog&) = delete;

    std::vector<Entry> Entries() const {
        std::lock_guard lock(m_mutex);
        return m_entries;
    }
    // The texts of one type in one category, in order.
    std::vector<QString> Texts(QtMsgType type, const QString& category) const {
        std::vector<QString> texts;
        for (const Entry& entry : Entries())
            if (entry.type == type && entry.category == category)
                texts.push_back(entry.text);
        return texts;
    }

private:
    static CapturedLog*& current() {
        static CapturedLog* log = nullptr;
        return log;
    }
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& text) {
        CapturedLog* log = current();
        if (!log)
            return;
        {
            std::lock_guard lock(log->m_mutex);
            log->m_entries.push_back(
                {type, QString::fromLatin1(context.category ? context.category : ""), text});
        }
        if (log->m_previous)
            log->m_previous(type, context, text);
    }

    QtMessageHandler m_previous = nullptr;
    mutable std::mutex m_mutex;
    std::vector<Entry> m_entries;
};
