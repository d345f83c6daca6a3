#pragma once

#include "views/QXBaseViewController.h"

#include <functional>

class QXButton;
class QXLabel;
class QXMouseCommandManager;
class Scheduler;

// The guide shown while no device is connected: says so, and offers to quit.
class QXGuideViewController : public QXBaseViewController {
    Q_OBJECT
public:
    struct Deps {
        QXMouseCommandManager *device = nullptr;
        Scheduler *scheduler = nullptr; // nullptr: the application's
        std::function<void()> terminate;
    };
    static constexpr int kQuitDelayMs = 500;
    static constexpr int kWidth = 280;
    static constexpr int kHeight = 150;

    explicit QXGuideViewController(Deps deps, QObject *parent = nullptr);

    void configTitle() override;
    // Gives the device its pop-up web site back, then quits half a second later. No
    // pointer can be connected while the guide shows, so no offline command goes out.
    void exitBtnClicked();

    QXLabel *tipLabel1() const { return m_tipLabel1; }
    QXLabel *tipLabel2() const { return m_tipLabel2; }
    QXButton *exitBtn() const { return m_exitBtn; }

protected:
    QWidget *loadView() override;
    void viewDidLoad() override;

private:
    Deps m_deps;
    QXLabel *m_tipLabel1 = nullptr;
    QXLabel *m_tipLabel2 = nullptr;
    QXButton *m_exitBtn = nullptr;
    bool m_quitting = false;
};
