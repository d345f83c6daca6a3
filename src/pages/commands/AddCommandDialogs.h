#pragma once

#include "AddCommandView.h"
#include "views/IAddCommandDialogs.h"

// The dialog factory the root hands to the pages: every dialog gets the same
// services, and is set up in the order the dialog relies on (mode, key option,
// record, finish).
class AddCommandDialogs : public IAddCommandDialogs {
public:
    explicit AddCommandDialogs(AddCommandView::Deps deps) : m_deps(std::move(deps)) {}

    QWidget *open(QWidget *host, bool mouseMode, std::shared_ptr<KeySettingSubModel> keyOption,
                  std::shared_ptr<QXVoiceCommandItem> record, Finish finish) override;

private:
    AddCommandView::Deps m_deps;
};
