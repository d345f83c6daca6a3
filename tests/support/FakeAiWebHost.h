#pragma once

#include "platform/IAiWebHost.h"

#include <QStringList>
#include <QUrl>
#include <QWidget>

#include <memory>
#include <vector>

// A web page host that records what it is asked to load and run, and lets a test play
// the page's side: load outcomes and script messages.
class FakeAiWebHost : public platform::IAiWebHost {
public:
    std::vector<QUrl> loads;
    QStringList scripts;
    bool cleared = false;
    std::vector<QUrl> downloads;
    Callbacks callbacks;

    QWidget *view() override { return m_view.get(); }
    void setCallbacks(Callbacks c) override { callbacks = std::move(c); }
    void load(const QUrl &url) override
    {
        loads.push_back(url);
        m_url = url;
    }
    QUrl url() const override { return m_url; }
    void runJavaScript(const QString &script) override { scripts << script; }
    void evaluate(const QString &script, std::function<void(const QVariant &)> result) override
    {
        scripts << script;
        result({});
    }
    void downloadInsteadOfShowing(const QUrl &url) override { downloads.push_back(url); }
    bool isOffTheRecord() const override { return false; }
    void clearAllWebsiteData() override { cleared = true; }

    void finish(LoadStatus status)
    {
        callbacks.loadingChanged(status, m_url, status == LoadStatus::Failed ? 404 : 0, {});
    }
    void post(const QString &name, const QString &json) { callbacks.scriptMessage(name, json); }

private:
    std::unique_ptr<QWidget> m_view = std::make_unique<QWidget>();
    QUrl m_url;
};
