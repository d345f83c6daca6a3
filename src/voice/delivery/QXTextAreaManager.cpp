#include "QXTextAreaManager.h"

#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "PZLog.h"
#include "TextInsertion.h"

QXTextAreaManager::QXTextAreaManager(Deps deps) : m_deps(std::move(deps)) {}

QXTextAreaManager::~QXTextAreaManager()
{
    if (m_registeredWith)
        m_registeredWith->removeObserver(this);
}

NotificationCenter &QXTextAreaManager::notifications() const
{
    return m_deps.notifications ? *m_deps.notifications : NotificationCenter::defaultCenter();
}

void QXTextAreaManager::registerNotification()
{
    NotificationCenter &nc = notifications();
    if (m_registeredWith)
        m_registeredWith->removeObserver(this);
    m_registeredWith = &nc;
    nc.addObserver(QString::fromLatin1(qx::notify::ASRStartNotification), this,
                   [this](const QVariant &) { asrStartNotification(); });
    nc.addObserver(QString::fromLatin1(qx::notify::ASRFinishNotification), this, [](const QVariant &) {});
}

void QXTextAreaManager::asrStartNotification()
{
    startMonitorUIElement();
}

void QXTextAreaManager::startMonitorUIElement()
{
    // A field found in an earlier session may belong to another application by now;
    // writing there would overwrite text the user never pointed at.
    m_textElementRef.reset();
    m_currentUIElement.reset();
    if (!m_deps.bridge || !m_deps.bridge->isAvailable()) {
        qxLogOnce(QStringLiteral("voice.text-insertion"),
                  QStringLiteral("[voice] text insertion needs the accessibility bus, which this session lacks"));
        return;
    }
    updateCurrentUIElement();
}

void QXTextAreaManager::updateCurrentUIElement()
{
    const QPoint point = m_deps.mousePosition ? m_deps.mousePosition() : QPoint();
    if (std::shared_ptr<platform::IAccessibleElement> element = m_deps.bridge->elementAtPoint(point)) {
        m_currentUIElement = std::move(element);
        updateUIElementInfo();
    }
    m_lastMousePoint = point;
}

void QXTextAreaManager::updateUIElementInfo()
{
    if (!m_currentUIElement || m_currentUIElement->isDefunct())
        return;
    getDeepestUIElementRef(m_currentUIElement);
    if (!m_textElementRef)
        m_textElementRef = m_currentUIElement;
    if (m_textElementRef->role() == platform::AccessibleRole::PasswordText || !m_textElementRef->isEditable()) {
        qxInfo("voice") << "the element under the mouse takes no text (password, read-only or not a field)";
        m_textElementRef.reset();
        return;
    }
    m_textElementRefValue = m_textElementRef->text().value_or(QString());
    const int caret = m_textElementRef->caretOffset().value_or(-1);
    // Toolkits without a caret answer -1: the text goes to the end.
    m_insertTextPos = caret < 0 ? textinsertion::characterCount(m_textElementRefValue) : caret;
}

void QXTextAreaManager::getDeepestUIElementRef(const std::shared_ptr<platform::IAccessibleElement> &element)
{
    if (std::shared_ptr<platform::IAccessibleElement> found = textinsertion::deepestTextElement(element))
        m_textElementRef = std::move(found);
}

void QXTextAreaManager::showTextToCurrentTextArea(const QString &text)
{
    if (!m_textElementRef)
        return;
    if (!m_textElementRef->setText(textinsertion::valueWithText(m_textElementRefValue, m_insertTextPos, text))) {
        qxInfo("voice") << "the text field refused the text or went away; nothing more is inserted this time";
        m_textElementRef.reset();
        return;
    }
    if (!m_deps.isLast || !m_deps.isLast())
        return;
    m_textElementRefValue = m_textElementRef->text().value_or(QString());
    if (const std::optional<qint64> caret =
            textinsertion::caretBehindText(m_textElementRefValue, m_insertTextPos, text))
        m_textElementRef->setCaretOffset(int(*caret));
}
