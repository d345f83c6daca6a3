// The helper under the sanitizers: the web engine's Chromium is not ours and is not
// built with them. It frees some of its objects through a base class of another size,
// keeps its one-time objects until exit, and its threads use locks and atomics the
// tools cannot see. The companion itself needs none of this.
#include <cstdlib>
#include <cstring>
#include <string>
#include <tuple>
#include <unistd.h>

namespace {
constexpr char kAsan[] = "new_delete_type_mismatch=0:detect_leaks=0";
constexpr char kTsan[] = "report_bugs=0";
} // namespace

extern "C" {
const char *__asan_default_options()
{
    return kAsan;
}
const char *__lsan_default_suppressions()
{
    return "leak:libQt6WebEngineCore.so\n";
}
const char *__tsan_default_options()
{
    return kTsan;
}
}

namespace platform::linuxbackend {

// A sanitized run names its options in the environment for the companion and its tests,
// and those win over the defaults above (a run that looks for leaks would report
// Chromium's). The helper puts its own after them and starts itself again, once, so
// that they hold for this process alone.
void adoptSanitizerOptions(char **argv)
{
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    constexpr char kDone[] = "QX_AIWEB_SANITIZER_OPTIONS";
    if (std::getenv(kDone))
        return;
    bool changed = false;
    for (const auto &[name, own, separator] :
         {std::make_tuple("ASAN_OPTIONS", kAsan, ':'), std::make_tuple("TSAN_OPTIONS", kTsan, ' ')}) {
        const char *given = std::getenv(name);
        if (!given || !*given)
            continue;
        setenv(name, (std::string(given) + separator + own).c_str(), 1);
        changed = true;
    }
    setenv(kDone, "1", 1);
    if (!changed)
        return;
    // Started again by its own path, not by /proc/self/exe: the process keeps its name
    // (the kernel names it after the path), by which the companion's tests find it.
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n > 0) {
        self[n] = '\0';
        execv(self, argv);
    }
    execv("/proc/self/exe", argv);
#else
    (void)argv;
#endif
}

} // namespace platform::linuxbackend
