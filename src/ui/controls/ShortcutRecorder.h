#pragma once

#include "platform/ShortcutBinder.h"
#include "views/QXBaseView.h"

#include <QSet>

#include <functional>
#include <optional>

// The shortcut field of the settings rows and the command dialog: click it, press a
// chord, and it holds that chord in the stored macOS form (key code and modifier
// flags). It draws no frame of its own; its row puts it in a bordered box.
//
// Bound to a preference key it shows what the key holds (else the registered
// default) and writes every change through the binder, which moves a live grab.
// Unbound (no key, or an empty one) the value lives in the widget. Read-only it only
// displays: no recording, no clear button.
//
// A chord is refused with a beep when Super is held, when the key has no macOS code
// (media keys) or when the binder's rules do not accept it (a bare letter,
// Shift+letter). Escape, losing the focus or releasing a key whose press the
// recorder never saw end the recording with the value unchanged.
class ShortcutRecorder : public QXBaseView {
    Q_OBJECT
public:
    // The binder supplies the Option rule and, in bound mode, the stored value; without
    // one the recorder stays unbound and Option alone never counts as a modifier.
    explicit ShortcutRecorder(platform::ShortcutBinder *binder, QWidget *parent = nullptr);

    void setAssociatedUserDefaultsKey(const QString &key);
    QString associatedUserDefaultsKey() const { return m_key; }
    bool isBound() const { return m_binder && !m_key.isEmpty(); }

    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return m_readOnly; }
    bool isRecording() const { return m_recording; }

    // What it holds: bound, what the key reads as now.
    std::optional<platform::Shortcut> value() const;
    // Bound, writes through the binder; std::nullopt then stores the explicit "no
    // shortcut", as the clear button does.
    void setValue(const std::optional<platform::Shortcut> &shortcut);
    // The modifier symbols of the value ("⇧⌘"), "" without one.
    QString symbols() const;
    // What it shows for the value, Linux style ("Ctrl+Shift+K"); "" without one.
    QString displayText() const;

    // The sound of a refused chord; the default is the desktop's beep.
    void setBeep(std::function<void()> beep) { m_beep = std::move(beep); }

    // The clear button: the last 20 pixels, as the command list's shade expects.
    static constexpr int kClearWidth = 20;

signals:
    void valueChanged();

protected:
    void configTitle() override;
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    bool focusNextPrevChild(bool next) override;

private:
    bool showsClearButton() const;
    void startRecording();
    void stopRecording();
    void refuse();
    void store(const std::optional<platform::Shortcut> &shortcut);

    platform::ShortcutBinder *m_binder;
    QString m_key;
    std::optional<platform::Shortcut> m_value; // unbound mode only
    bool m_readOnly = false;
    bool m_recording = false;
    QSet<int> m_pressed; // keys pressed since recording started
    std::function<void()> m_beep;
};

// The Linux-style text of a stored shortcut: Ctrl for Control and Command alike, Alt
// for Option, then Shift and the key ("Ctrl+Shift+K", "Alt+F5").
QString shortcutDisplayText(const platform::Shortcut &shortcut);
