// SDL keeps its D-Bus connection to the end of the process on purpose (the
// library cannot be shut down safely); the leak checker is told so.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }
