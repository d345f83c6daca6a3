#pragma once

#include "PageContext.h"
#include "views/QXBaseView.h"

#include <array>
#include <functional>

class QXButton;
class QXLabel;
class QXPopUpButton;
class ShortcutRecorder;

// The voice-input row of the smart-settings page: punctuation and long-voice switches,
// the speech language, and, while a receiver with hot keys is connected, the three
// recorders of the voice typing, translation and search shortcuts. The row only
// stores choices; the HID layer registers the shortcuts' defaults and binds them.
class InputSettingView : public QXBaseView {
    Q_OBJECT
public:
    static constexpr int kHeight = 207; // three lines of 69
    static constexpr int kHeightWithShortcuts = 414;

    explicit InputSettingView(const PageContext &context, QWidget *parent = nullptr);

    int viewHeight() const { return m_viewHeight; }
    // Runs after every decision on the shortcut block, also when the height stays.
    void setRefreshUIBlock(std::function<void()> block) { m_refreshUIBlock = std::move(block); }

    void configUI() override;
    void configData() override;
    void configTitle() override;

    // Shows the shortcut block for the hot-key receivers (by their ids, else by the
    // device type they are given) and sets the height to match.
    void showShortcutsView();
    void updateInputAudioNotification();

    QXLabel *titleLabel() const { return m_titleLabel; }
    QXButton *punctuationBtn() const { return m_punctuationBtn; }
    QXButton *longVoiceModeBtn() const { return m_longVoiceModeBtn; }
    QXPopUpButton *languageBtn() const { return m_languageBtn; }
    QWidget *shortcutsContentView() const { return m_shortcutsContentView; }
    ShortcutRecorder *shortcutsView(int i) const { return m_recorders.at(std::size_t(i)); }
    QXLabel *functionLabel(int i) const { return m_labels.at(std::size_t(i)); }

private:
    void buildShortcutsView();
    void layoutShortcutsView();
    void punctuationBtnClicked();
    void longVoiceModeBtnClicked();

    PageContext m_context;
    int m_viewHeight = kHeight;
    std::function<void()> m_refreshUIBlock;
    QXLabel *m_titleLabel = nullptr;
    // Punctuation, long voice, language, then the three shortcut labels.
    std::array<QXLabel *, 6> m_labels{};
    QXButton *m_punctuationBtn = nullptr;
    QXButton *m_longVoiceModeBtn = nullptr;
    QXPopUpButton *m_languageBtn = nullptr;
    QWidget *m_shortcutsContentView = nullptr;
    std::array<ShortcutRecorder *, 3> m_recorders{};
};
