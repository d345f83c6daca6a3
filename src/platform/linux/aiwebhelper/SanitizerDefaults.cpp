// The helper under the sanitizers: the web engine's Chromium is not ours and is not
// built with them. It frees some of its objects through a base class of another size,
// keeps its one-time objects until exit, and its threads use locks and atomics the
// tools cannot see. The companion itself needs none of this.
extern "C" {
const char *__asan_default_options()
{
    return "new_delete_type_mismatch=0:detect_leaks=0";
}
const char *__lsan_default_suppressions()
{
    return "leak:libQt6WebEngineCore.so\n";
}
const char *__tsan_default_options()
{
    return "report_bugs=0";
}
}
