// Fontconfig keeps its parsed configuration and the patterns cairo asks it for
// in caches that LeakSanitizer cannot trace, and never frees them; the first
// PDF a process renders would otherwise fail every sanitizer run. Read only by
// LeakSanitizer, which looks this function up when it starts.
extern "C" const char* __lsan_default_suppressions();

extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
