#include "QXHotWordViewModel.h"

#include "InstalledInstance.h"
#include "QXCommandViewModel.h"
#include "sqlite/WQSSqliteOperation.h"

#include <QCoreApplication>
#include <QThread>

QXHotWordViewModel::QXHotWordViewModel(WQSSqliteOperation &store) : m_store(store) {}

QXHotWordViewModel::~QXHotWordViewModel()
{
    InstalledInstance<QXHotWordViewModel>::uninstall(this);
}

QXHotWordViewModel &QXHotWordViewModel::sharedInstance()
{
    return InstalledInstance<QXHotWordViewModel>::get("QXHotWordViewModel");
}

void QXHotWordViewModel::assertMainThread() const
{
    // A frame built on another thread would race the main thread's refill.
    Q_ASSERT_X(!QCoreApplication::instance() || QThread::currentThread() == QCoreApplication::instance()->thread(),
               "QXHotWordViewModel", "used off the main thread");
}

const QXVoiceCommandList &QXHotWordViewModel::hotWordListArray()
{
    assertMainThread();
    if (!m_loaded) {
        m_entries.clear();
        for (const QXVoiceCommandItem &row :
             m_store.selectAllDataBaseWithtableName<QXVoiceCommandItem>(QXCommandViewModel::kCustomTable)) {
            if (row.typeIndex() == 5)
                m_entries.append(std::make_shared<QXVoiceCommandItem>(row));
        }
        m_loaded = true;
        m_text.reset();
    }
    return m_entries;
}

void QXHotWordViewModel::setHotWordListArray(const QXVoiceCommandList &list)
{
    assertMainThread();
    m_entries = list;
    // An empty list refills from the table on next use, as one never loaded.
    m_loaded = !list.isEmpty();
    m_text.reset();
}

QString QXHotWordViewModel::getLocalHotWordListString()
{
    const QXVoiceCommandList &entries = hotWordListArray();
    if (!m_text) {
        QString text;
        for (const QXVoiceCommandPtr &entry : entries) {
            const QString words = entry ? entry->customCmd.value_or(QString()) : QString();
            text = text.isEmpty() ? words : text + u',' + words;
        }
        m_text = text;
        ++m_builds;
    }
    return *m_text;
}

void QXHotWordViewModel::clearHotWords()
{
    setHotWordListArray({});
}

void QXHotWordViewModel::removeHotWord(const QXVoiceCommandPtr &entry)
{
    assertMainThread();
    if (!entry)
        return;
    // The table loses every row with this entry's words, so equal entries go too.
    const std::optional<QString> words = entry->customCmd;
    if (m_entries.removeIf([&](const QXVoiceCommandPtr &e) { return e == entry || (e && e->customCmd == words); }) > 0)
        m_text.reset();
    // The last one gone: the next use reads the table again, as for a cleared list.
    if (m_entries.isEmpty())
        m_loaded = false;
}
