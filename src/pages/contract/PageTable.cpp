#include "PageTable.h"

const PageEntry *findPage(const std::vector<PageTable> &tables, int viewTag)
{
    for (const PageTable &table : tables)
        for (const PageEntry &entry : table)
            if (entry.viewTag == viewTag && entry.make)
                return &entry;
    return nullptr;
}
