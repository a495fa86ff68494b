// For programs that load libkrnacim: the module links three monitor
// libraries built from one monitor core, which define the same globals; the
// first one loaded serves them for the whole process. AddressSanitizer is
// told to report only globals whose sizes differ between the libraries (a
// real layout mismatch), not every name that several of them define.
extern "C" __attribute__((visibility("default"))) const char* __asan_default_options()
{
    return "detect_odr_violation=1";
}
