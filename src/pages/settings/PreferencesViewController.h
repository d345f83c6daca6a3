#pragma once

#include "PageContext.h"
#include "views/QXBaseViewController.h"

#include <QList>

class QLabel;
class QScrollArea;
class QXButton;
class QXLabel;
class QXSliderCell;

// The lighting page (the tab "偏好设置", for mouse types 56 and 72): the effect's mode,
// speed, brightness and colour, and the hand the mouse is set up for. It keeps no
// lighting state: it shows what the device last reported and sends each change to the
// device; a control looks selected only once the device's answer has come back.
class PreferencesViewController : public QXBaseViewController {
    Q_OBJECT
public:
    static constexpr int kTitleLeft = 34;
    static constexpr int kSwatchStep = 48;
    static constexpr int kSwatchCount = 8;
    static constexpr int kMultiColour = 8;
    static constexpr double kSliderDelaySeconds = 0.5;

    explicit PreferencesViewController(const PageContext &context);

    void configUI() override;
    void configTitle() override;
    void configData() override;

    // Redraws every control from the device state.
    void updateLightingEffectsNotification();

    // The controls' actions.
    void changeLightingEffectsMode(QXButton *sender);
    void configLightingEffectsColor(QXButton *sender);
    void changeUseBehavior(QXButton *sender);
    void sliderClick(QXSliderCell *sender);

    // The marker's left offset in the colour row for a reported colour code,
    // (colour - 1) * 48, kept inside the range of a widget coordinate.
    static int markerOffset(qint64 colour);

    const QList<QXButton *> &modeBtnArr() const { return m_modeBtnArr; }
    QXButton *marqueeBtn() const { return m_modeBtnArr.value(3); }
    const QList<QXButton *> &colorBtnArr() const { return m_colorBtnArr; }
    QXButton *colorfulImageView() const { return m_colorBtnArr.value(kMultiColour - 1); }
    QLabel *currentImageView() const { return m_currentImageView; }
    QXSliderCell *sliderSpeed() const { return m_sliderSpeed; }
    QXSliderCell *sliderBrightness() const { return m_sliderBrightness; }
    QXLabel *speedValueLabel() const { return m_speedValueLabel; }
    QXLabel *brightnessValueLabel() const { return m_brightnessValueLabel; }
    QXButton *leftBehaviorBtn() const { return m_leftBehaviorBtn; }
    QXButton *rightBehaviorBtn() const { return m_rightBehaviorBtn; }
    QWidget *contentView() const { return m_contentView; }

protected:
    QWidget *loadView() override;
    void viewDidLoad() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QXLabel *rowTitle(int top);
    QXLabel *smallLabel(Qt::Alignment alignment);
    QXButton *radioButton(int tag);
    QXSliderCell *slider(int minimum, int maximum);
    void layoutRows();
    void sendLater(QXSliderCell *slider, qint64 value);

    PageContext m_context;
    QScrollArea *m_scrollView = nullptr;
    QWidget *m_contentView = nullptr;
    QXLabel *m_modeLabel = nullptr;
    QList<QXButton *> m_modeBtnArr;
    QXLabel *m_speedLabel = nullptr;
    QXSliderCell *m_sliderSpeed = nullptr;
    QXLabel *m_speedValueLabel = nullptr;
    QXLabel *m_speedLowLabel = nullptr;
    QXLabel *m_speedHeightLabel = nullptr;
    QXLabel *m_brightnessLabel = nullptr;
    QXSliderCell *m_sliderBrightness = nullptr;
    QXLabel *m_brightnessValueLabel = nullptr;
    QXLabel *m_brightnessLowLabel = nullptr;
    QXLabel *m_brightnessHeightLabel = nullptr;
    QXLabel *m_colorLabel = nullptr;
    QWidget *m_colorView = nullptr;
    QList<QXButton *> m_colorBtnArr;
    QLabel *m_currentImageView = nullptr;
    QXLabel *m_useBehaviorLabel = nullptr;
    QXButton *m_leftBehaviorBtn = nullptr;
    QXButton *m_rightBehaviorBtn = nullptr;
};
