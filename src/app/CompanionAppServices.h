#pragma once

#include "AppServices.h"
#include "CompanionApp.h"

// The application delegate's services over the instances the composition root built.
class CompanionApp::Services final : public AppServices {
public:
    explicit Services(CompanionApp &app) : m_app(app) {}

    void applyLightAppearance() override;
    void setIsFirstShow(bool on) override;
    void setIsFromMicData(bool on) override;
    void startMonitor() override;
    void checkAppVersion() override;
    void openApp() override;
    void installExceptionWriter() override;
    void setAsrLanguageType(int type) override;
    void addStatusItem() override;
    void startCenterMouseMonitor() override;
    void createTable(const QString &name) override;
    void startSelectionMonitors() override;
    void bindSnipShortcut() override;
    std::pair<quint16, quint16> currentIds() override;
    void setDefaultInput(const QString &deviceName) override;
    void startScan() override;
    void configUI() override;
    void checkPermission(bool show) override;
    void probeReachability() override;
    void openCompanionApp() override;

    void cancelPeripheralConnection() override;
    void sendGetMouseInfoData() override;
    void sendClosePopUpWebSiteData() override;
    void invalidateTimer() override;
    void closeHIDDevice() override;
    void openHIDDevice() override;
    void setLowElectricShown(bool shown) override;
    void reopenStatusItem() override;

    void prepareForApplicationTermination() override;
    void shutdownSparkChainBeforeTermination() override;
    void waitForPendingLogsBeforeTermination() override;

private:
    CompanionApp &m_app;
};
