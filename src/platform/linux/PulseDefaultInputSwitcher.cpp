#include "PulseDefaultInputSwitcher.h"

#include "PulseClient.h"
#include "platform/InputDeviceMatch.h"

namespace platform::linuxbackend {
namespace {

using pulse::api;

QString property(const pa_proplist *props, const char *key)
{
    const char *value = props ? api().pa_proplist_gets(props, key) : nullptr;
    return value ? QString::fromUtf8(value) : QString();
}

void collectSource(pa_context *, const pa_source_info *info, int eol, void *user)
{
    if (eol || !info)
        return;
    InputDeviceCandidate d;
    d.id = QByteArray(info->name ? info->name : "");
    d.isInput = info->monitor_of_sink == PA_INVALID_INDEX;
    d.description = QString::fromUtf8(info->description ? info->description : "");
    d.productName = property(info->proplist, PA_PROP_DEVICE_PRODUCT_NAME);
    d.cardName = property(info->proplist, "alsa.card_name");
    static_cast<std::vector<InputDeviceCandidate> *>(user)->push_back(std::move(d));
}

} // namespace

InputSwitch PulseDefaultInputSwitcher::setByName(const QString &name)
{
    pulse::Session session("Quorvex Companion input", QStringLiteral("the default input is not changed"));
    if (!session.ready())
        return InputSwitch::Error;
    std::vector<InputDeviceCandidate> sources;
    if (!session.wait(api().pa_context_get_source_info_list(session.context(), collectSource, &sources)))
        return InputSwitch::Error;
    const int found = matchInputDevice(sources, name);
    if (found < 0)
        return InputSwitch::NotFound;
    bool success = false;
    session.wait(api().pa_context_set_default_source(session.context(), sources[size_t(found)].id.constData(),
                                                     &pulse::Session::successCallback, &success));
    return success ? InputSwitch::Changed : InputSwitch::Error;
}

} // namespace platform::linuxbackend
