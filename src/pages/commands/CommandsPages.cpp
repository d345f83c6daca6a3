#include "CommandsPages.h"

PageTable commandsPages()
{
    // No page of this library is built yet: the factory shows placeholders.
    return {};
}
