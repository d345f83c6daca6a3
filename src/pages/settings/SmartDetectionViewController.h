#pragma once

#include "PageContext.h"
#include "views/QXBaseViewController.h"

class QLabel;
class QScrollArea;
class QXButton;
class QXLabel;

// The self-test page: checks in one run the chain mouse - computer - internet - the
// maker's server and draws it as four nodes joined by three lines, each in its normal
// or its error image, under one verdict. It has no tab item; it is loaded when the
// application starts, and that load runs the test once; its widgets are built when it
// is first shown. "重置驱动" reopens the USB device and runs the test again.
class SmartDetectionViewController : public QXBaseViewController {
    Q_OBJECT
public:
    static constexpr double kRepairIntervalSeconds = 1.0;

    explicit SmartDetectionViewController(const PageContext &context);

    void configUI() override;
    void configTitle() override;
    void configData() override;

    // One full run: the verdict starts sound, the device link is checked and both
    // network probes are sent without waiting for each other.
    void detectionBtnClicked();
    // Reopens the device, then a full run through the leading throttle: at once, and
    // once more a second after the last of repeated clicks.
    void repairBtnClicked();
    // The device link alone, as it is now.
    void showMouseStatus();
    // The two network probes.
    void checkNetWork();

    // The image name a line shows (1 to 3), built or not.
    QString lineImageName(int line) const;
    // The widgets, from the view's first show on.
    QXLabel *statusLabel() const { return m_statusLabel; }
    QXButton *detectionBtn() const { return m_detectionBtn; }
    QXButton *repairBtn() const { return m_repairBtn; }
    QWidget *topView() const { return m_topView; }

protected:
    QWidget *loadView() override;
    void viewDidLoad() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setLine(int line, bool sound);
    void drawLine(int line);
    void drawTitles();
    void setFailed();
    void layoutViews();
    void showStatus(const QString &text);
    void fitStatus();

    PageContext m_context;
    QScrollArea *m_scrollView = nullptr;
    QWidget *m_contentView = nullptr;
    QWidget *m_topView = nullptr;
    QXLabel *m_statusLabel = nullptr;
    QXButton *m_detectionBtn = nullptr;
    QXButton *m_repairBtn = nullptr;
    QXLabel *m_functionLabel1 = nullptr;
    QLabel *m_nodeImages[4] = {};
    QXLabel *m_nodeLabels[4] = {};
    QLabel *m_lineImageViews[3] = {};
    // What the checks found, kept for widgets not yet built.
    bool m_lineSound[3] = {true, true, true};
    bool m_showsFailure = false;
};
