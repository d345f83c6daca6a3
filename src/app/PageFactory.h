#pragma once

#include "PageContext.h"

#include <memory>

class QXBaseViewController;

// Makes the main window's eight pages, each over the one context the application hands
// every page. A page whose code is not part of the build comes as a placeholder that
// names it.
class PageFactory {
public:
    explicit PageFactory(const PageContext &context) : m_context(context) {}
    virtual ~PageFactory() = default;

    const PageContext &context() const { return m_context; }

    // The page of a page number (0-7); nullptr for any other number.
    virtual std::unique_ptr<QXBaseViewController> makePage(int viewTag);
    // The account page (4) refreshes its account header each time it is shown.
    virtual void getUserInfo(QXBaseViewController &mineVC);

private:
    PageContext m_context;
};
