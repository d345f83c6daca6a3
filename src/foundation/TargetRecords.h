#pragma once

#include <QString>

#include <optional>

class KeyValueStore;

// The files and folders the user picked as command or key targets. Only a target
// with a record is ever opened: a command list from the server, or a key profile
// from another machine, cannot make this application open a path the user never
// entered here.
//
// A record is kept under the target text exactly as the command or key stores it
// (the group "targetRecords", every byte outside [A-Za-z0-9._-] percent-encoded so
// "/", "\\", "%" and "#" survive any backend), with the local path as its value.
//
// Target texts: "file://" followed by an absolute path, taken literally (the pickers
// store it with its escapes already removed, so "%41" and "#" belong to the name; an
// optional "localhost" host is dropped), or a typed absolute path. Relative paths,
// "~", web addresses and texts holding control characters have no local path.
class TargetRecords {
public:
    explicit TargetRecords(KeyValueStore &store);

    // Records a target whose path exists now; false, storing nothing, otherwise.
    bool record(const QString &targetText);
    // The recorded path of a target; nullopt when it has no record. The file may have
    // gone since: openers check again.
    std::optional<QString> resolve(const QString &targetText) const;

    // The local path a target text names, recorded or not.
    static std::optional<QString> localPath(const QString &targetText);
    // The store key of a target's record.
    static QString storeKey(const QString &targetText);

private:
    KeyValueStore &m_store;
};
