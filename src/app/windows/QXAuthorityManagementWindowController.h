#pragma once

#include "platform/IPermissionProbe.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <array>

class AlertPresenter;

class QLabel;
class QWidget;
class QXButton;
class QXLabel;
namespace platform {
class IWorkspace;
}

// The permissions window: one row per capability the application needs (accessibility,
// input monitoring, screen recording), a check mark on the granted ones and, on a
// missing one, what to do about it and a button that opens the help on it. The window
// is built when first shown (a check needs none) and checks again whenever it becomes
// active, so rows turn to granted when the user comes back from fixing something.
class QXAuthorityManagementWindowController final : public QObject {
    Q_OBJECT
public:
    struct Deps {
        platform::IPermissionProbe *probe = nullptr; // required
        platform::IWorkspace *workspace = nullptr;   // opens the help page
        QString helpPage;                            // the help page's file; empty when it is not installed
        AlertPresenter *alerts = nullptr;            // says where the page is when the desktop cannot open it
    };

    explicit QXAuthorityManagementWindowController(const Deps &deps, QObject *parent = nullptr);
    ~QXAuthorityManagementWindowController() override;

    // The window, built (rows and a first check) on the first call.
    QWidget *window();
    bool isWindowLoaded() const { return !m_window.isNull(); }

    // Runs the three checks; with show, builds and brings the window forward when
    // something is missing. The launch calls it with true.
    void checkPermission(bool show);
    // Builds the window and brings it forward; a window not on screen opens centred on
    // the screen holding the pointer.
    void showWindow();
    // True when the last check found nothing missing.
    bool isAllOpenAuthority() const { return m_isAllOpenAuthority; }

    // Opens the help on row index (0-2); any other index does nothing.
    void selectAuthorityWithIndex(int index);

    // Texts of the string tables may carry doubled backslashes and escaped quotes.
    static QString normalizedPermissionText(const QString &text);
    // Where the installed (or built) help page is; empty when there is none.
    static QString defaultHelpPage();

    // The window's parts (nullptr before it is built).
    QXLabel *tipLabel() const { return m_tipLabel; }
    QWidget *permissionsView() const { return m_permissionsView; }
    QXButton *actionButton(int row) const;
    QXLabel *remedyLabel(int row) const;
    QXLabel *descriptionLabel(int row) const;
    const QList<QXButton *> &btnBgViewArr() const { return m_btnBgViewArr; }
    QString instructionsImageName() const { return m_instructionsImageName; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void windowDidLoad();
    void initSubViews();
    void buildRow(int row);
    void layoutRows();
    void checkRow(int row);
    void itemClicked(QXButton *sender);

    Deps m_deps;
    // Deleted with the controller, unless whoever showed it deleted it first.
    QPointer<QWidget> m_window;
    QXLabel *m_tipLabel = nullptr;
    QLabel *m_instructionsImageView = nullptr;
    QWidget *m_permissionsView = nullptr;
    // auxiliaryFunctionBtn, inputMonitoringBtn, screenRecordingBtn
    std::array<QXButton *, platform::kPermissionKindCount> m_buttons{};
    std::array<QXLabel *, platform::kPermissionKindCount> m_remedyLabels{};
    std::array<QXLabel *, platform::kPermissionKindCount> m_descriptionLabels{};
    std::array<int, platform::kPermissionKindCount> m_logged{-1, -1, -1}; // the state last logged per row
    QList<QXButton *> m_btnBgViewArr;
    QString m_instructionsImageName;
    bool m_isAllOpenAuthority = false;
};
