#include "AccountPages.h"

PageTable accountPages()
{
    // No page of this library is built yet: the factory shows placeholders.
    return {};
}
