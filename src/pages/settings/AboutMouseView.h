#pragma once

#include "PageContext.h"
#include "views/QXBaseView.h"

class CustomProgress;
class QXButton;
class QXLabel;
class QXTextView;

// The "about" row of the software-management page: the application's and the
// device's versions, the feature list, and the firmware transfer of the mouse and of
// the receiver. The buttons show once the firmware manager reports a stored image;
// each starts its transfer and, while it runs, cancels it. Progress and the result
// come back as notifications.
class AboutMouseView : public QXBaseView {
    Q_OBJECT
public:
    enum UpdateStatus { kNone = 0, kMouse = 1, kReceiver = 2 };

    explicit AboutMouseView(const PageContext &context, QWidget *parent = nullptr);

    void configUI() override;
    void configData() override;
    void configTitle() override;

    // textH of the feature list + 234, recomputed with the texts.
    int viewHeight() const { return m_viewHeight; }
    bool isUpdating() const { return m_isUpdating; }
    int updateStatus() const { return m_updateStatus; }

    QXLabel *titleLabel() const { return m_titleLabel; }
    QXLabel *versionLabel() const { return m_versionLabel; }
    QXLabel *tipLabel() const { return m_tipLabel; }
    QXTextView *instructionTextView() const { return m_instructionTextView; }
    QXButton *updateBtn() const { return m_updateBtn; }
    QXButton *updateDongleBtn() const { return m_updateDongleBtn; }
    CustomProgress *custompro() const { return m_custompro; }
    QXLabel *progressLabel() const { return m_progressLabel; }
    QXLabel *updateTipLabel() const { return m_updateTipLabel; }

    // Reports the device's firmware to the server; a success clears
    // isNeedUpLoadBurnerInfo. Nothing in the application calls it yet.
    void uploadBurnerInfo();

    // The version line: "SN:<sn>" and "<label> V<app>" and "<label> <firmware>(<product>)",
    // nine blanks apart. The parts are joined as they stand: a translated label holding
    // "%1" stays literal.
    static QString versionLine(const QString &sn, const QString &softwareLabel, const QString &appVersion,
                               const QString &firmwareLabel, const QString &firmware, const QString &product);
    // A progress value of a notification as a whole percentage: anything that is not a
    // number counts as 0, the rest is clamped to 0..100.
    static int clampedProgress(const QVariant &payload);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void showUpdateBtnStatus();
    void updateBtnClicked(QXButton *sender);
    void updateOTAProgress(const QVariant &payload);
    void updateOTASuccess();
    void updateOTAFail();
    void updateOTACancel();
    void clearProgress();
    void measureFeatures();
    void layoutSubviews();

    PageContext m_context;
    QXLabel *m_titleLabel = nullptr;
    QXLabel *m_versionLabel = nullptr;
    QXLabel *m_tipLabel = nullptr;
    QXTextView *m_instructionTextView = nullptr;
    QXButton *m_updateBtn = nullptr;
    QXButton *m_updateDongleBtn = nullptr;
    CustomProgress *m_custompro = nullptr;
    QXLabel *m_progressLabel = nullptr;
    QXLabel *m_updateTipLabel = nullptr;
    int m_viewHeight = 0;
    int m_progress = 0; // percent shown by the bar
    int m_updateStatus = kNone;
    bool m_isUpdating = false;
};
