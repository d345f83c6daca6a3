#pragma once

#include "DeviceProfileController.h"
#include "PageContext.h"
#include "views/QXBaseViewController.h"

#include <QList>

#include <memory>
#include <vector>

class KeySettingView;
class QLabel;
class QScrollArea;
class QXButton;
class QXLabel;

// The device settings page (the tab "鼠标设置"): the product picture, one block per
// programmable key of the device profile, the auxiliary block with the DPI and report
// rate, the RGB switch, and the refresh, permissions, reset and AI buttons.
//
// The page owns the profile loader. Its observers are registered when the page is
// made, so the profile follows the device even before the view is first shown; the
// blocks are built once the view is.
class MouseSettingViewController : public QXBaseViewController {
    Q_OBJECT
public:
    static constexpr int kInsetX = 30;
    static constexpr int kInsetTop = 50;
    static constexpr int kBlockGap = 30;
    static constexpr int kFreeStrip = 400; // right of the blocks, for the picture
    static constexpr int kImageSize = 450;
    static constexpr int kImageRight = 100;
    static constexpr int kImageTop = 140;
    static constexpr int kImageGap = 20; // between the key rows and the picture

    // The product picture on a page `pageWidth` wide: right of the key rows, at most
    // kImageSize square, smaller where the page leaves it less room.
    static QRect productImageFrame(int pageWidth);

    explicit MouseSettingViewController(const PageContext &context);
    ~MouseSettingViewController() override;

    DeviceProfileController &profile() { return *m_profile; }
    // The key sections shown, the auxiliary block last when it has a row.
    QList<MouseSettingModel> mouseSettingArr() const;
    bool isScrollTop() const { return m_isScrollTop; }

    void configUI() override;
    void configTitle() override;
    void configData() override;

    void hadUSBInfoNotification();
    void updateCustomerKey();
    void updateLightingEffects();
    void refreshBtnClicked();
    void permissionBtnClicked();
    void rgbBtnClicked();
    void enterAIBtnClicked();
    void resetKeyFunctionBtnClicked();

    QScrollArea *scrollView() const { return m_scroll; }
    QWidget *contentView() const { return m_content; }
    const QList<KeySettingView *> &keyViews() const { return m_keyViews; }
    QLabel *mouseTypeImageView() const { return m_imageView; }
    QXButton *enterAIBtn() const { return m_enterAIBtn; }
    QXButton *resetKeyFunctionBtn() const { return m_resetBtn; }
    QXButton *refreshBtn() const { return m_refreshBtn; }
    QXButton *permissionBtn() const { return m_permissionBtn; }
    QXButton *rgbBtn() const { return m_rgbBtn; }
    QXLabel *rgbLabel() const { return m_rgbLabel; }

protected:
    QWidget *loadView() override;
    void viewDidLoad() override;

private:
    bool showsRgb() const;
    void switchToEnglish();
    void adoptProfileKeys();
    void buildAuxiliarySetModel();
    // The drop-downs' column for the titles in the interface language now.
    void measurePopUpLeft();
    void rebuildBlocks();
    void publishKeys();
    void showProductImage();
    void layoutControls();

    PageContext m_context;
    std::unique_ptr<DeviceProfileController> m_profile;
    bool m_isScrollTop = true;
    bool m_lightingReported = false; // the RGB switch follows the state only after a lighting report
    // Shared with the rows, which may outlive a rebuild by a turn of the event loop.
    std::shared_ptr<const MouseModelSettingModel> m_product;
    std::vector<std::shared_ptr<MouseSettingModel>> m_keySections;
    std::shared_ptr<MouseSettingModel> m_auxiliarySetModel;
    // The key rows' drop-down column, measured from every block's titles.
    std::shared_ptr<int> m_popUpLeft;
    QStringList m_auxiliaryTitleKeys; // the source text of each auxiliary row's title

    QWidget *m_root = nullptr;
    QScrollArea *m_scroll = nullptr;
    QWidget *m_content = nullptr;
    QList<KeySettingView *> m_keyViews;
    QLabel *m_imageView = nullptr;
    QXButton *m_enterAIBtn = nullptr;
    QXButton *m_resetBtn = nullptr;
    QXButton *m_refreshBtn = nullptr;
    QXButton *m_permissionBtn = nullptr;
    QXButton *m_rgbBtn = nullptr;
    QXLabel *m_rgbLabel = nullptr;
};
