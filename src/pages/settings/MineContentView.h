#pragma once

#include "PageContext.h"
#include "views/QXBaseView.h"

class QLabel;
class QXButton;
class QXLabel;

// The Mine page's device panel: the model, two recording switches, and the battery,
// firmware and serial-number lines. The battery and firmware values are fixed texts
// that do not follow the device; the serial number is read when the device's
// information arrives.
class MineContentView : public QXBaseView {
    Q_OBJECT
public:
    static constexpr const char *kAutoDeleteRecordKey = "autoDeleteRecordSwitchKey";
    static constexpr const char *kRecordLedOffKey = "recordLedOffSwitchKey";
    static constexpr int kValueLeft = 160;

    explicit MineContentView(const PageContext &context, QWidget *parent = nullptr);

    void configUI() override;
    void configTitle() override;
    void configData() override;

    void updateDeviceInfo();
    void autoDelRecordBtnClicked();
    void ledBtnClicked();

    QXLabel *tipLabel(int n) const { return n >= 1 && n <= 6 ? m_tipLabels[n - 1] : nullptr; }
    QXLabel *deviceNameLabel() const { return m_deviceNameLabel; }
    QXLabel *electricLabel() const { return m_electricLabel; }
    QXLabel *firmwareVersionLabel() const { return m_firmwareVersionLabel; }
    QXLabel *snLabel() const { return m_snLabel; }
    QXButton *autoDelRecordBtn() const { return m_autoDelRecordBtn; }
    QXButton *ledBtn() const { return m_ledBtn; }

private:
    void switchClicked(QXButton *button, const char *key);
    void layoutLines();

    PageContext m_context;
    QXLabel *m_tipLabels[6] = {};
    QLabel *m_deviceImageView = nullptr;
    QXLabel *m_deviceNameLabel = nullptr;
    QXButton *m_autoDelRecordBtn = nullptr;
    QXButton *m_ledBtn = nullptr;
    QXLabel *m_electricLabel = nullptr;
    QXLabel *m_firmwareVersionLabel = nullptr;
    QXLabel *m_snLabel = nullptr;
};
