#pragma once

#include "PageContext.h"
#include "PageTable.h"

#include <memory>
#include <vector>

class QXBaseViewController;
class QXLaserPenManager;

// Makes the main window's eight pages, each over the one context the application hands
// every page, from the tables of the pages libraries. A page number no table offers
// comes as a placeholder that names the page's class.
class PageFactory {
public:
    // The tables of the three pages libraries (settings, commands, account).
    static std::vector<PageTable> libraryTables();

    explicit PageFactory(const PageContext &context, std::vector<PageTable> tables = libraryTables())
        : m_context(context), m_tables(std::move(tables))
    {
    }
    virtual ~PageFactory() = default;

    const PageContext &context() const { return m_context; }
    // The pointer manager the pointer settings page (7) works on; without one that page
    // is a placeholder.
    void setLaserPen(QXLaserPenManager *manager) { m_laserPen = manager; }

    // The page of a page number (0-7); nullptr for any other number.
    virtual std::unique_ptr<QXBaseViewController> makePage(int viewTag);
    // The account page (4) refreshes its account header each time it is shown.
    virtual void getUserInfo(QXBaseViewController &mineVC);

private:
    PageContext m_context;
    std::vector<PageTable> m_tables;
    QXLaserPenManager *m_laserPen = nullptr;
};
