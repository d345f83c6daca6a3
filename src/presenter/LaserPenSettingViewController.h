#pragma once

#include "views/QXBaseViewController.h"

#include <QColor>
#include <QColorDialog>
#include <QList>
#include <QPointer>

class IPopupTips;
class LaserPenPreviewView;
class NotificationCenter;
class QLineEdit;
class QXButton;
class QXLabel;
class QXLaserPenManager;
class QXSliderCell;
class QXUserInfoData;

// The pointer settings page (the tab of the presentation pointer): which functions
// take part in the pointer's mode cycle, how each looks with a preview on a sample
// picture, the presentation countdown and what the pointer's voice key does. It keeps
// nothing of its own but the function its preview shows: every control writes through
// to the pointer manager (or the application state's voice function) at once.
class LaserPenSettingViewController : public QXBaseViewController {
    Q_OBJECT
public:
    struct Deps {
        QXLaserPenManager *manager = nullptr;
        QXUserInfoData *state = nullptr; // the voice key's function
        NotificationCenter *notifications = nullptr;
        IPopupTips *tips = nullptr;
    };
    // Sliders carry their values in thousandths.
    static constexpr int kSliderScale = 1000;

    explicit LaserPenSettingViewController(Deps deps);
    ~LaserPenSettingViewController() override;

    void configUI() override;
    void configTitle() override;
    void configData() override;

    // --- the actions, as the controls send them
    void radioBtnClicked(QXButton *sender);
    void doSelectSwitch(QXButton *sender);
    void showPreview();
    void alphaSliderChangeValue();
    void zoomInSliderChangeValue();
    void showColorPanel();
    void changeColor(const QColor &color);
    void timeRadioBtnClicked(QXButton *sender);
    void customMinutesEdited();
    void voiceRadioBtnClicked(QXButton *sender);
    void modifyVoiceFunciton();

    // --- the controls
    const QList<QXButton *> &functionBtnArr() const { return m_functionRadios; }
    const QList<QXButton *> &functionSwitches() const { return m_functionSwitches; }
    const QList<QXButton *> &countDownBtnArr() const { return m_timeRadios; }
    const QList<QXButton *> &voicefunctionBtnArr() const { return m_voiceRadios; }
    QXButton *countDownSwitchBtn() const { return m_countDownSwitch; }
    QLineEdit *otherCountDownTextField() const { return m_customField; }
    LaserPenPreviewView *previewView() const { return m_preview; }
    QWidget *previewBottomView() const { return m_bar; }
    QWidget *brightnessView() const { return m_brightnessRow; }
    QWidget *zoomView() const { return m_zoomRow; }
    QWidget *colorView() const { return m_colorRow; }
    QXSliderCell *brightnessSlider() const { return m_brightness; }
    QXSliderCell *zoomSlider() const { return m_zoom; }
    QXButton *colorBtnView() const { return m_swatch; }
    QColorDialog *colorPanel() const { return m_colorPanel; }
    // The name of a switch's or a radio's picture.
    static QString imageName(const QXButton *button);

protected:
    void viewDidLoad() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *makeRow(const char *icon, QWidget *control);
    void layoutRight();
    void placeRows();
    void showMask();
    void disablePreviewRadio();
    void setSlider(QXSliderCell *slider, double min, double max, double value);
    static double sliderValue(const QXSliderCell *slider);

    Deps m_d;
    bool m_updating = false;
    // The function the preview shows: the stored choice, or the one shown at load.
    int m_previewIndex = -1;
    bool m_showingOnly = false; // a radio selected for the preview, not by the user
    LaserPenPreviewView *m_preview = nullptr;
    QWidget *m_bar = nullptr;
    QWidget *m_brightnessRow = nullptr, *m_zoomRow = nullptr, *m_colorRow = nullptr;
    QXSliderCell *m_brightness = nullptr, *m_zoom = nullptr;
    QXButton *m_swatch = nullptr;
    QWidget *m_functionView = nullptr;
    QList<QXButton *> m_functionRadios, m_functionSwitches;
    QList<QXLabel *> m_functionLabels;
    QXLabel *m_countDownLabel = nullptr;
    QXButton *m_countDownSwitch = nullptr;
    QList<QXButton *> m_timeRadios;
    QWidget *m_fieldBox = nullptr;
    QLineEdit *m_customField = nullptr;
    QXLabel *m_voiceLabel = nullptr;
    QList<QXButton *> m_voiceRadios;
    QList<QXLabel *> m_voiceLabels;
    QPointer<QColorDialog> m_colorPanel;
};
