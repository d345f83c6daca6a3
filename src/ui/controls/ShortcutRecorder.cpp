#include "ShortcutRecorder.h"

#include "HRVLocalizedString.h"
#include "PZLog.h"
#include "drawing/KitAppearance.h"
#include "platform/KeyCodeTable.h"
#include "platform/ShortcutValidator.h"

#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPainter>

namespace {

bool isModifierKey(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
        return true;
    default:
        return false;
    }
}

// The same physical key on press and release: Qt names Shift+1 "!" on the press and
// "1" on a release after Shift went up, the X key code stays. Synthesised events
// carry no scan code.
int physicalKey(const QKeyEvent *event)
{
    return event->nativeScanCode() ? int(event->nativeScanCode()) | 0x40000000 : event->key();
}

} // namespace

QString shortcutDisplayText(const platform::Shortcut &shortcut)
{
    using namespace platform::keys;
    Qt::KeyboardModifiers modifiers;
    if (shortcut.modifierFlags & (kFlagControl | kFlagCommand))
        modifiers |= Qt::ControlModifier;
    if (shortcut.modifierFlags & kFlagAlternate)
        modifiers |= Qt::AltModifier;
    if (shortcut.modifierFlags & kFlagShift)
        modifiers |= Qt::ShiftModifier;
    for (const MacKeyMapping &m : macKeyTable()) {
        if (m.macKeyCode != shortcut.keyCode)
            continue;
        if (m.qtKey & kKeypad)
            modifiers |= Qt::KeypadModifier;
        const QKeyCombination chord(modifiers, Qt::Key(m.qtKey & ~kKeypad));
        return QKeySequence(chord).toString(QKeySequence::PortableText);
    }
    // A code no keyboard here has (only an unbound value can hold one).
    const QString prefix = QKeySequence(QKeyCombination(modifiers, Qt::Key_A)).toString(QKeySequence::PortableText);
    return prefix.chopped(1) + QLatin1Char('#') + QString::number(shortcut.keyCode);
}

ShortcutRecorder::ShortcutRecorder(platform::ShortcutBinder *binder, QWidget *parent)
    : QXBaseView(parent), m_binder(binder), m_beep([] { QApplication::beep(); })
{
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false); // chords, not text
}

void ShortcutRecorder::setAssociatedUserDefaultsKey(const QString &key)
{
    if (!key.isEmpty() && !m_binder)
        qxLogOnce("recorder:" + key, "a shortcut recorder for " + key + " has no binder; it keeps its value itself");
    m_key = key;
    update();
}

void ShortcutRecorder::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    setFocusPolicy(readOnly ? Qt::NoFocus : Qt::ClickFocus);
    if (readOnly && m_recording)
        stopRecording();
    update();
}

std::optional<platform::Shortcut> ShortcutRecorder::value() const
{
    return isBound() ? m_binder->shortcutForKey(m_key) : m_value;
}

void ShortcutRecorder::setValue(const std::optional<platform::Shortcut> &shortcut)
{
    store(shortcut);
}

QString ShortcutRecorder::symbols() const
{
    const auto v = value();
    return v ? platform::keys::modifierSymbolsForFlags(v->modifierFlags) : QString();
}

QString ShortcutRecorder::displayText() const
{
    const auto v = value();
    return v ? shortcutDisplayText(*v) : QString();
}

void ShortcutRecorder::configTitle()
{
    update(); // the texts are read at paint time
}

bool ShortcutRecorder::event(QEvent *event)
{
    // While recording every chord is ours, even one a menu or button would take.
    if (m_recording && event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    return QXBaseView::event(event);
}

void ShortcutRecorder::paintEvent(QPaintEvent *event)
{
    QXBaseView::paintEvent(event);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QRect textRect = rect();
    if (showsClearButton()) {
        textRect.setRight(width() - kClearWidth - 1);
        const QPointF centre(width() - kClearWidth / 2.0, height() / 2.0);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 64));
        p.drawEllipse(centre, 6.5, 6.5);
        p.setPen(QPen(Qt::white, 1.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(centre + QPointF(-2.5, -2.5), centre + QPointF(2.5, 2.5));
        p.drawLine(centre + QPointF(-2.5, 2.5), centre + QPointF(2.5, -2.5));
    }
    p.setFont(qxSystemFont(13));
    QString text;
    if (m_recording) {
        QColor fill = qxAccentColor();
        fill.setAlpha(28);
        p.setPen(Qt::NoPen);
        p.setBrush(fill);
        p.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 3, 3);
        p.setPen(qxAccentColor());
        text = hrvAppLocalizedString(QStringLiteral("请按下快捷键"));
    } else if (const QString shown = displayText(); !shown.isEmpty()) {
        p.setPen(qxDarkGreyColor());
        text = shown;
    } else {
        p.setPen(qxGreyColor());
        text = m_readOnly ? QString() : hrvAppLocalizedString(QStringLiteral("录制快捷键"));
    }
    p.drawText(textRect, Qt::AlignCenter, p.fontMetrics().elidedText(text, Qt::ElideRight, textRect.width() - 4));
}

void ShortcutRecorder::mousePressEvent(QMouseEvent *event)
{
    if (m_readOnly || event->button() != Qt::LeftButton) {
        QXBaseView::mousePressEvent(event);
        return;
    }
    event->accept();
    if (showsClearButton() && event->position().x() >= width() - kClearWidth)
        store(std::nullopt);
    else if (m_recording)
        stopRecording();
    else
        startRecording();
}

void ShortcutRecorder::keyPressEvent(QKeyEvent *event)
{
    if (!m_recording) {
        QXBaseView::keyPressEvent(event);
        return;
    }
    event->accept();
    if (event->isAutoRepeat())
        return;
    m_pressed.insert(physicalKey(event));
    const int key = event->key();
    if (isModifierKey(key))
        return; // the chord is not complete yet
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if (key == Qt::Key_Escape && !(modifiers & ~Qt::KeypadModifier)) {
        stopRecording();
        return;
    }
    const auto flags = platform::keys::macFlagsForQtModifiers(modifiers);
    const auto code = platform::keys::macKeyCodeForQtKey(key, modifiers & Qt::KeypadModifier);
    if (!flags || !code) {
        refuse();
        return;
    }
    const platform::Shortcut shortcut{*code, *flags};
    if (!platform::isShortcutValid(shortcut, m_binder && m_binder->allowAnyShortcutWithOptionModifier())) {
        refuse();
        return;
    }
    stopRecording();
    store(shortcut);
}

void ShortcutRecorder::keyReleaseEvent(QKeyEvent *event)
{
    if (!m_recording) {
        QXBaseView::keyReleaseEvent(event);
        return;
    }
    event->accept();
    // A key held down before recording began: its chord was meant for something else.
    if (!event->isAutoRepeat() && !isModifierKey(event->key()) && !m_pressed.contains(physicalKey(event)))
        stopRecording();
}

void ShortcutRecorder::focusOutEvent(QFocusEvent *event)
{
    if (m_recording)
        stopRecording();
    QXBaseView::focusOutEvent(event);
}

bool ShortcutRecorder::focusNextPrevChild(bool next)
{
    // Tab is a key to record, not a move to the next field.
    return m_recording ? false : QXBaseView::focusNextPrevChild(next);
}

bool ShortcutRecorder::showsClearButton() const
{
    return !m_readOnly && !m_recording && value().has_value();
}

void ShortcutRecorder::startRecording()
{
    m_recording = true;
    m_pressed.clear();
    setFocus(Qt::MouseFocusReason);
    update();
}

void ShortcutRecorder::stopRecording()
{
    m_recording = false;
    m_pressed.clear();
    update();
}

void ShortcutRecorder::refuse()
{
    if (m_beep)
        m_beep();
}

void ShortcutRecorder::store(const std::optional<platform::Shortcut> &shortcut)
{
    const auto before = value();
    if (!isBound())
        m_value = shortcut;
    else if (shortcut)
        m_binder->setShortcut(m_key, *shortcut);
    else
        m_binder->clearShortcut(m_key);
    update();
    if (value() != before)
        emit valueChanged();
}
