#include "AccountPages.h"

PageTable accountPages()
{
    // The account page (number 4) is the settings library's Mine page; the forms and
    // headers of this library reach it through the root, not through the page table.
    return {};
}
