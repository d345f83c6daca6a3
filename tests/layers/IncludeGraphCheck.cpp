// Reads every #include "..." of src/ and checks it against the layer table the build
// writes (qx_layers.tsv, from src/CMakeLists.txt):
//  - an include reaches only a layer of a lower rank (or its own layer);
//  - a layer that names its users (the platform backends) is included by those only;
//  - the folders of src/ include each other without a cycle;
//  - the pages, the assistant and the presenter reach the device and the process's
//    objects only through what they are handed: no file under them calls a
//    process-wide accessor (kProcessWideAccessors) or includes a header of
//    device/transport or device/protocol;
//  - every accessor a class of src/ declares for its one instance of the process
//    (`static Name &name();`) is in kProcessWideAccessors, so the rule above sees it.
// Prints each violation with the file and line, and exits 1 when there is any.
//
// usage: qx_include_graph <layer table> <src folder>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <span>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Layer {
    int rank = 0;
    std::string name;
    std::string dir;    // relative to src/
    std::string prefix; // "" when the headers are included by their bare names
    std::vector<std::string> users;
};

struct Include {
    std::string from; // file relative to src/
    int line = 0;
    std::string text;
    std::string to; // resolved file relative to src/
};

std::vector<std::string> splitOn(const std::string &text, char sep)
{
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, sep))
        parts.push_back(part);
    return parts;
}

std::optional<std::vector<Layer>> readTable(const fs::path &path)
{
    std::ifstream in(path);
    if (!in)
        return std::nullopt;
    std::vector<Layer> layers;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        const std::vector<std::string> cols = splitOn(line, '\t');
        if (cols.size() != 5) {
            std::fprintf(stderr, "bad layer table line: %s\n", line.c_str());
            return std::nullopt;
        }
        Layer layer;
        layer.rank = std::stoi(cols[0]);
        layer.name = cols[1];
        layer.dir = cols[2];
        layer.prefix = cols[3] == "-" ? "" : cols[3];
        if (cols[4] != "-")
            layer.users = splitOn(cols[4], ',');
        layers.push_back(layer);
    }
    return layers;
}

bool isUnder(const std::string &file, const std::string &dir)
{
    return file.size() > dir.size() && file.compare(0, dir.size(), dir) == 0 && file[dir.size()] == '/';
}

// The folders whose files are handed every service (a page context, Deps) and so may
// neither fetch a process-wide instance nor name a device class.
const char *const kHandedFolders[] = {"pages", "assistant", "presenter"};
const char *const kDeviceFolders[] = {"device/transport", "device/protocol"};

// Every way to reach an object of the whole process: a class's one instance, the
// installed centre, scheduler and store, the platform's services. "name(" stands for
// that accessor of any class, "Class::name(" for that class's only. A new process-wide
// accessor goes here once; the check below fails until it does.
const char *const kProcessWideAccessors[] = {
    "sharedInstance(",
    "NotificationCenter::defaultCenter(",
    "postNotification(", // posts to the default centre
    "Scheduler::instance(",
    "ShortcutBinder::sharedBinder(",
    "AppAudioTool::sharedManager(",
    "QXNetSceneState::instance(",
    "LogWorker::shared(",
    "DailyLogWriter::application(",
    "PZManagerForLog::sharedDDLog(",
    "WQSSqliteOperation::shareOperation(",
    "defaultStore(",
    "platform::services(",
};

// The accessor of the list a line calls, outside a line comment; nullptr when none.
const char *processWideCall(const std::string &line)
{
    const auto comment = line.find("//");
    for (const char *accessor : kProcessWideAccessors) {
        for (auto at = line.find(accessor); at != std::string::npos && at < comment; at = line.find(accessor, at + 1)) {
            // A longer name that merely ends the same way (mySharedInstance() is not it).
            const char before = at == 0 ? ' ' : line[at - 1];
            if (!std::isalnum(static_cast<unsigned char>(before)) && before != '_')
                return accessor;
        }
    }
    return nullptr;
}

// Whether `Class::name(` is one of the listed accessors.
bool isListed(const std::string &className, const std::string &name)
{
    const std::string bare = name + "(", qualified = className + "::" + bare;
    return std::any_of(std::begin(kProcessWideAccessors), std::end(kProcessWideAccessors),
                       [&](const char *accessor) { return bare == accessor || qualified == accessor; });
}

bool isUnderAny(const std::string &file, std::span<const char *const> dirs)
{
    return std::any_of(dirs.begin(), dirs.end(), [&](const char *dir) { return isUnder(file, dir); });
}

// The layer a file of src/ belongs to: the one with the longest folder holding it.
const Layer *layerOf(const std::vector<Layer> &layers, const std::string &file)
{
    const Layer *best = nullptr;
    for (const Layer &layer : layers)
        if (isUnder(file, layer.dir) && (!best || layer.dir.size() > best->dir.size()))
            best = &layer;
    return best;
}

std::string folderOf(const std::string &file)
{
    const auto slash = file.rfind('/');
    return slash == std::string::npos ? std::string() : file.substr(0, slash);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <layer table> <src folder>\n", argv[0]);
        return 2;
    }
    const std::optional<std::vector<Layer>> table = readTable(argv[1]);
    if (!table || table->empty()) {
        std::fprintf(stderr, "cannot read the layer table %s\n", argv[1]);
        return 2;
    }
    const std::vector<Layer> &layers = *table;
    const fs::path src = fs::canonical(argv[2]);

    std::vector<std::string> files;
    for (const auto &entry : fs::recursive_directory_iterator(src)) {
        const std::string ext = entry.path().extension().string();
        if (entry.is_regular_file() && (ext == ".h" || ext == ".cpp"))
            files.push_back(fs::relative(entry.path(), src).generic_string());
    }
    std::sort(files.begin(), files.end());
    const std::set<std::string> known(files.begin(), files.end());

    // Resolves as the compiler does: the including file's folder first, then the
    // include roots. A name found in several layers resolves to the lowest one.
    const auto resolve = [&](const std::string &from, const std::string &text) -> std::optional<std::string> {
        const std::string local = fs::path(folderOf(from) + "/" + text).lexically_normal().generic_string();
        if (known.count(local))
            return local;
        std::optional<std::string> found;
        int foundRank = 0;
        for (const Layer &layer : layers) {
            std::string rest = text;
            if (!layer.prefix.empty()) {
                if (text.compare(0, layer.prefix.size() + 1, layer.prefix + "/") != 0)
                    continue;
                rest = text.substr(layer.prefix.size() + 1);
            }
            const std::string candidate = fs::path(layer.dir + "/" + rest).lexically_normal().generic_string();
            if (known.count(candidate) && layerOf(layers, candidate) == &layer && (!found || layer.rank < foundRank)) {
                found = candidate;
                foundRank = layer.rank;
            }
        }
        return found;
    };

    const std::regex includeLine(R"re(^\s*#\s*include\s*"([^"]+)")re");
    const std::regex classLine(R"re(^\s*(?:class|struct)\s+(\w+)\b[^;]*$)re");
    const std::regex singletonDecl(R"re(^\s*static\s+(\w+)\s*[&*]\s*(\w+)\s*\(\s*\)\s*;)re");
    std::vector<Include> includes;
    int failures = 0;
    for (const std::string &file : files) {
        if (!layerOf(layers, file)) {
            std::printf("%s: not in any layer of the table\n", file.c_str());
            ++failures;
            continue;
        }
        // The classes the file defines, for the accessor declarations in it.
        std::set<std::string> classes;
        {
            std::ifstream scan(src / file);
            std::string line;
            std::smatch m;
            while (std::getline(scan, line))
                if (std::regex_search(line, m, classLine))
                    classes.insert(m[1].str());
        }
        std::ifstream in(src / file);
        std::string line;
        int number = 0;
        const bool handed = isUnderAny(file, kHandedFolders);
        while (std::getline(in, line)) {
            ++number;
            if (handed) {
                if (const char *accessor = processWideCall(line)) {
                    std::printf("%s:%d: calls %s: a page, the assistant and the presenter use what they are "
                                "handed (PageContext, Deps)\n",
                                file.c_str(), number, accessor);
                    ++failures;
                }
            }
            // A class's accessor to its one instance of the process: it returns a reference
            // or pointer to its own class and takes nothing.
            std::smatch accessor;
            if (std::regex_search(line, accessor, singletonDecl) && classes.count(accessor[1].str())
                && !isListed(accessor[1].str(), accessor[2].str())) {
                std::printf("%s:%d: %s::%s() reaches an object of the whole process and is not in the list of "
                            "process-wide accessors the page rule refuses (kProcessWideAccessors)\n",
                            file.c_str(), number, accessor[1].str().c_str(), accessor[2].str().c_str());
                ++failures;
            }
            std::smatch m;
            if (!std::regex_search(line, m, includeLine))
                continue;
            if (const std::optional<std::string> to = resolve(file, m[1].str()))
                includes.push_back({file, number, m[1].str(), *to});
        }
    }

    for (const Include &inc : includes)
        if (isUnderAny(inc.from, kHandedFolders) && isUnderAny(inc.to, kDeviceFolders)) {
            std::printf("%s:%d: includes \"%s\" of %s: a page, the assistant and the presenter reach the device "
                        "through the ports they are handed\n",
                        inc.from.c_str(), inc.line, inc.text.c_str(), folderOf(inc.to).c_str());
            ++failures;
        }

    // Direction: downwards only, backends by their users only.
    for (const Include &inc : includes) {
        const Layer &from = *layerOf(layers, inc.from);
        const Layer &to = *layerOf(layers, inc.to);
        if (&from == &to)
            continue;
        if (!to.users.empty() && std::find(to.users.begin(), to.users.end(), from.name) == to.users.end()) {
            std::printf("%s:%d: includes \"%s\" of %s, which only %s may include\n", inc.from.c_str(), inc.line,
                        inc.text.c_str(), to.name.c_str(), to.users.front().c_str());
            ++failures;
        } else if (to.rank >= from.rank) {
            std::printf("%s:%d: %s (rank %d) includes \"%s\" of %s (rank %d): a layer includes only lower layers\n",
                        inc.from.c_str(), inc.line, from.name.c_str(), from.rank, inc.text.c_str(), to.name.c_str(),
                        to.rank);
            ++failures;
        }
    }

    // Cycles between folders (strongly connected components of the folder graph).
    std::map<std::string, std::map<std::string, const Include *>> edges;
    for (const Include &inc : includes) {
        const std::string a = folderOf(inc.from), b = folderOf(inc.to);
        if (a != b)
            edges[a].emplace(b, &inc);
    }
    std::map<std::string, int> index, low;
    std::set<std::string> onStack;
    std::vector<std::string> stack;
    int counter = 0;
    std::vector<std::vector<std::string>> cycles;
    std::function<void(const std::string &)> visit = [&](const std::string &v) {
        index[v] = low[v] = counter++;
        stack.push_back(v);
        onStack.insert(v);
        for (const auto &[w, inc] : edges[v]) {
            if (!index.count(w)) {
                visit(w);
                low[v] = std::min(low[v], low[w]);
            } else if (onStack.count(w)) {
                low[v] = std::min(low[v], index[w]);
            }
        }
        if (low[v] == index[v]) {
            std::vector<std::string> component;
            std::string w;
            do {
                w = stack.back();
                stack.pop_back();
                onStack.erase(w);
                component.push_back(w);
            } while (w != v);
            if (component.size() > 1)
                cycles.push_back(component);
        }
    };
    std::vector<std::string> folders;
    for (const auto &[folder, targets] : edges)
        folders.push_back(folder);
    for (const std::string &folder : folders)
        if (!index.count(folder))
            visit(folder);
    for (std::vector<std::string> &cycle : cycles) {
        std::sort(cycle.begin(), cycle.end());
        const std::set<std::string> members(cycle.begin(), cycle.end());
        // One shortest way round, from the first folder back to it, inside the component.
        std::map<std::string, std::string> cameFrom;
        std::vector<std::string> queue{cycle.front()};
        for (size_t i = 0; i < queue.size() && !cameFrom.count(cycle.front()); ++i)
            for (const auto &[next, inc] : edges[queue[i]])
                if (members.count(next) && !cameFrom.count(next)) {
                    cameFrom[next] = queue[i];
                    queue.push_back(next);
                }
        std::vector<std::string> path{cycle.front()};
        for (std::string at = cameFrom[cycle.front()]; at != cycle.front(); at = cameFrom[at])
            path.push_back(at);
        path.push_back(cycle.front());
        std::reverse(path.begin(), path.end());
        std::printf("folders include each other in a cycle:");
        for (size_t i = 0; i < path.size(); ++i)
            std::printf("%s%s", i ? " -> " : " ", path[i].c_str());
        std::printf("\n");
        for (size_t i = 0; i + 1 < path.size(); ++i) {
            const Include *inc = edges[path[i]].at(path[i + 1]);
            std::printf("  %s:%d: includes \"%s\"\n", inc->from.c_str(), inc->line, inc->text.c_str());
        }
        ++failures;
    }

    std::printf("%zu files, %zu includes within src/, %d problem(s)\n", files.size(), includes.size(), failures);
    return failures == 0 ? 0 : 1;
}
