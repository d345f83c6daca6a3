// libatspi before Qt: glib's headers use "signals" as a name.
#include <atspi/atspi.h>

#include "AtspiElement.h"

#include "AtspiBridge.h"

namespace platform::linuxbackend {
namespace {

// Far more children than any text field's window has; a list or a web page beyond
// this is not searched further.
constexpr int kMaxChildren = 500;

// Logs a failed call once per kind (an application that went away fails every call).
bool failed(GError *&error, const char *what)
{
    if (!error)
        return false;
    atspiLogOnce(
        QStringLiteral("atspi.%1").arg(QLatin1String(what)),
        QStringLiteral("[platform] AT-SPI %1 failed: %2").arg(QLatin1String(what), QString::fromUtf8(error->message)));
    g_clear_error(&error);
    return true;
}

// Owns a reference libatspi handed out.
template <typename T> struct Ref {
    T *p;
    explicit Ref(T *object) : p(object) {}
    ~Ref()
    {
        if (p)
            g_object_unref(p);
    }
    Ref(const Ref &) = delete;
    Ref &operator=(const Ref &) = delete;
    explicit operator bool() const { return p != nullptr; }
};

bool hasState(AtspiAccessible *object, AtspiStateType state)
{
    Ref<AtspiStateSet> states(atspi_accessible_get_state_set(object));
    return states && atspi_state_set_contains(states.p, state);
}

} // namespace

std::shared_ptr<AtspiElement> AtspiElement::adopt(AtspiAccessible *object)
{
    if (!object)
        return nullptr;
    return std::shared_ptr<AtspiElement>(new AtspiElement(object));
}

AtspiElement::~AtspiElement()
{
    g_object_unref(m_object);
}

AccessibleRole AtspiElement::role() const
{
    GError *error = nullptr;
    const AtspiRole role = atspi_accessible_get_role(m_object, &error);
    if (failed(error, "role"))
        return AccessibleRole::Other;
    switch (role) {
    case ATSPI_ROLE_ENTRY:
    case ATSPI_ROLE_EDITBAR: // a field in a tool bar (an address bar)
        return AccessibleRole::Entry;
    case ATSPI_ROLE_TEXT:
        return AccessibleRole::Text;
    case ATSPI_ROLE_PASSWORD_TEXT:
        return AccessibleRole::PasswordText;
    default:
        return AccessibleRole::Other;
    }
}

std::vector<std::shared_ptr<IAccessibleElement>> AtspiElement::children() const
{
    std::vector<std::shared_ptr<IAccessibleElement>> result;
    GError *error = nullptr;
    const int count = atspi_accessible_get_child_count(m_object, &error);
    if (failed(error, "child count"))
        return result;
    for (int i = 0; i < std::min(count, kMaxChildren); ++i) {
        AtspiAccessible *child = atspi_accessible_get_child_at_index(m_object, i, &error);
        if (failed(error, "child"))
            break;
        if (std::shared_ptr<AtspiElement> element = adopt(child))
            result.push_back(std::move(element));
    }
    return result;
}

bool AtspiElement::isDefunct() const
{
    GError *error = nullptr;
    (void)atspi_accessible_get_role(m_object, &error);
    return failed(error, "role") || hasState(m_object, ATSPI_STATE_DEFUNCT);
}

bool AtspiElement::isEditable() const
{
    Ref<AtspiEditableText> editable(atspi_accessible_get_editable_text_iface(m_object));
    return editable && hasState(m_object, ATSPI_STATE_EDITABLE) && !hasState(m_object, ATSPI_STATE_READ_ONLY);
}

std::optional<QString> AtspiElement::text() const
{
    Ref<AtspiText> text(atspi_accessible_get_text_iface(m_object));
    if (!text)
        return std::nullopt;
    GError *error = nullptr;
    const int count = atspi_text_get_character_count(text.p, &error);
    if (failed(error, "character count"))
        return std::nullopt;
    gchar *utf8 = atspi_text_get_text(text.p, 0, count, &error);
    if (failed(error, "text")) {
        g_free(utf8);
        return std::nullopt;
    }
    QString value = QString::fromUtf8(utf8 ? utf8 : "");
    g_free(utf8);
    return value;
}

std::optional<int> AtspiElement::caretOffset() const
{
    Ref<AtspiText> text(atspi_accessible_get_text_iface(m_object));
    if (!text)
        return std::nullopt;
    GError *error = nullptr;
    const int offset = atspi_text_get_caret_offset(text.p, &error);
    if (failed(error, "caret"))
        return std::nullopt;
    return offset;
}

bool AtspiElement::setText(const QString &value)
{
    Ref<AtspiEditableText> editable(atspi_accessible_get_editable_text_iface(m_object));
    if (!editable)
        return false;
    GError *error = nullptr;
    const gboolean ok = atspi_editable_text_set_text_contents(editable.p, value.toUtf8().constData(), &error);
    return !failed(error, "set text") && ok;
}

bool AtspiElement::setCaretOffset(int offset)
{
    Ref<AtspiText> text(atspi_accessible_get_text_iface(m_object));
    if (!text)
        return false;
    GError *error = nullptr;
    const gboolean ok = atspi_text_set_caret_offset(text.p, offset, &error);
    return !failed(error, "set caret") && ok;
}

} // namespace platform::linuxbackend
