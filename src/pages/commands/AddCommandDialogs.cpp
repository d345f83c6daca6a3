#include "AddCommandDialogs.h"

QWidget *AddCommandDialogs::open(QWidget *host, bool mouseMode, std::shared_ptr<KeySettingSubModel> keyOption,
                                 std::shared_ptr<QXVoiceCommandItem> record, Finish finish)
{
    auto *view = new AddCommandView(m_deps, host);
    view->setIsFromMouseSetting(mouseMode);
    view->setKeySubModel(std::move(keyOption));
    if (record || mouseMode)
        view->setModel(std::move(record));
    view->setAddOrModifyFinishBlock(std::move(finish));
    return view;
}
