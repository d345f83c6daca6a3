#include "MessageBoxAlertPresenter.h"

#include "HRVLocalizedString.h"
#include "PZLog.h"
#include "services/IAppShell.h"

#include <QAbstractButton>
#include <QList>
#include <QMessageBox>
#include <QPushButton>

void MessageBoxAlertPresenter::showAlert(const QString &message, const QStringList &buttons,
                                         std::function<void(int)> done)
{
    QWidget *window = m_shell ? m_shell->window() : nullptr;
    // Untitled, the box would be titled with the program's file name.
    auto *box = new QMessageBox(QMessageBox::Information, hrvAppLocalizedString(QStringLiteral("Quorvex")), message,
                                QMessageBox::NoButton, window);
    // Questions quote what the user typed: "<b>" is shown, never taken for markup.
    box->setTextFormat(Qt::PlainText);
    QList<QAbstractButton *> added;
    for (qsizetype i = 0; i < buttons.size(); ++i)
        added.append(box->addButton(buttons[i], i == 0 ? QMessageBox::RejectRole : QMessageBox::AcceptRole));
    if (!added.isEmpty()) {
        box->setDefaultButton(qobject_cast<QPushButton *>(added.first()));
        box->setEscapeButton(added.first());
    }
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(window ? Qt::WindowModal : Qt::ApplicationModal);
    QObject::connect(box, &QMessageBox::finished, box, [box, added, done = std::move(done)] {
        if (done)
            done(int(added.indexOf(box->clickedButton())));
    });
    box->open();
    // The only trace of a question the user may never answer.
    qxInfo("ui") << "alert shown:" << message;
}
