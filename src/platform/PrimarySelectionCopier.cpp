#include "PrimarySelectionCopier.h"

namespace platform {

bool PrimarySelectionCopier::copySelectionToClipboard()
{
    const QString text = m_clipboard.selectionText();
    // A selection of blanks only is no selection worth replacing the clipboard for.
    if (text.trimmed().isEmpty())
        return false;
    return m_clipboard.setText(text);
}

} // namespace platform
