#pragma once

#include <memory>
#include <span>
#include <vector>

class QXBaseViewController;
struct PageContext;

// How a pages library offers its pages: one row per page, with the page number (the
// tab's viewTag), the page's class and how to make it over the context. The
// application joins the libraries' tables and makes a page the first time its tab is
// shown.
struct PageEntry {
    int viewTag;
    const char *className;
    std::unique_ptr<QXBaseViewController> (*make)(const PageContext &context);
};
using PageTable = std::span<const PageEntry>;

// The first row for a page number among the tables, in the tables' order; nullptr
// when no table has one.
const PageEntry *findPage(const std::vector<PageTable> &tables, int viewTag);
