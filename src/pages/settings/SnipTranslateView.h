#pragma once

#include "PageContext.h"
#include "views/QXBaseView.h"

#include <QString>

class QXButton;
class QXLabel;
class QXPopUpButton;
class ShortcutRecorder;

// The screenshot-translation row of the smart-settings page: the switch, the
// recognition and target languages, and the recorder of the capture shortcut
// ("SnipShortcutKey", Option+S by default). A recorded chord and a flipped switch
// bind the shortcut again at once, so it is grabbed only while it can start a capture.
class SnipTranslateView : public QXBaseView {
    Q_OBJECT
public:
    static constexpr int kViewHeight = 188;

    explicit SnipTranslateView(const PageContext &context, QWidget *parent = nullptr);

    int viewHeight() const { return kViewHeight; }

    void configUI() override;
    void configTitle() override;
    void configData() override;

    void updateSnipTranslateIndexNotification();     // the target list only
    void updateSnipFromTranslateIndexNotification(); // the recognition list only

    // Asks for the folder the captures are saved in; the path is stored with a
    // trailing "/", a cancelled panel changes nothing.
    void moreBtnClicked();
    // "/home/u/Pictures" and "/home/u/Pictures/" both as "/home/u/Pictures/".
    static QString folderPath(const QString &path);

    QXLabel *titleLabel() const { return m_titleLabel; }
    QXButton *switchBtn() const { return m_switchBtn; }
    QXPopUpButton *fromLanguageBtn() const { return m_fromLanguageBtn; }
    QXPopUpButton *toLanguageBtn() const { return m_toLanguageBtn; }
    QXButton *changeLanguageBtn() const { return m_changeLanguageBtn; }
    QXLabel *functionLabel1() const { return m_functionLabel1; }
    ShortcutRecorder *shortcutsView() const { return m_shortcutsView; }

private:
    void switchBtnClicked();
    void bindShortcut();

    PageContext m_context;
    QXLabel *m_titleLabel = nullptr;
    QXButton *m_switchBtn = nullptr;
    QXPopUpButton *m_fromLanguageBtn = nullptr;
    QXPopUpButton *m_toLanguageBtn = nullptr;
    QXButton *m_changeLanguageBtn = nullptr;
    QXLabel *m_functionLabel1 = nullptr;
    ShortcutRecorder *m_shortcutsView = nullptr;
};
