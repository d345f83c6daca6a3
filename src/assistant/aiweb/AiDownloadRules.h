#pragma once

#include <QString>
#include <QUrl>

#include <optional>
#include <utility>

// The AI page's downloads and outside links: which answers are files, what a file is
// called, the tips along the way, and which new-window addresses leave for the
// browser. Pure.
namespace aiweb {

// Answers of these types are saved, not shown.
bool isDownloadMimeType(const QString &mimeType);

// The name a finished download is offered under: the suggested name unless it is
// empty or "Unknown"; else by type, with the time stamp (Office files, PNG); else the
// address's last path segment. Always one plain file name ("download" when nothing
// gives one).
QString downloadFileName(const QString &suggestedName, const QString &mimeType, const QUrl &url,
                         const QString &timeStamp);

// A file of its own in `dir`, made empty (owner only) under the first name no file
// had: "r.docx", else "r (1).docx", "r (2).docx", ... Made, not just looked for, so
// two downloads of one name never share it. Nothing when none could be made.
std::optional<QString> reserveUnusedPath(const QString &dir, const QString &name);

// "已下载25.00%" for a known size; nothing while the size is unknown.
std::optional<QString> progressTip(qint64 received, qint64 total);
// The tip text and image after a save: the Excel texts differ.
std::pair<QString, QString> saveTip(const QString &mimeType, bool ok, const QString &error);

// What a page's new-window request leads to.
struct OutsideLink {
    enum class Kind { Nothing, DevicePage, Browser };
    Kind kind = Kind::Nothing;
    QUrl url; // Browser: the address to open
};
// deviceHost: the maker's web site host ("www.maker.example"); its "/device" pages
// bring the main window forward. Only http and https ever reach the browser, the
// target of an "openurl…openBrowser_<address>" link included.
OutsideLink outsideLink(const QUrl &requested, const QString &deviceHost);

} // namespace aiweb
