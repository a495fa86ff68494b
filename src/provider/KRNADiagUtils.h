#ifndef KRNADIAGUTILS_H
#define KRNADIAGUTILS_H

// The diagnostics' utilities: their own debug file "KRNA_Debug.log" (each
// message written as formed and flushed at once), the fixed system keys of
// their instances, the lock of the jobs, records and associations that the
// runs leave behind, and the sweep that removes them after five minutes.

#include <cstdio>
#include <string>

#include <cimple/Mutex.h>
#include <cimple/String.h>

namespace corvanecimple {

class KRNA_DiagUtils {
public:
    // The one object, made on first use and kept.
    static KRNA_DiagUtils* getInstance();

    // Writes the message as it is (it carries its own line end) to the debug
    // file, or to the standard output when the file cannot be opened. The
    // file lies in the working directory, or in the directory the module's
    // loggers are pointed at (KRNALogger::setLogDirectory).
    void logMessages(const cimple::String& text);

    // Removes every job older than its time before removal, each with the
    // records and associations that carry its id.
    static void deleteExpiredInstances();

    // "PG_ComputerSystem".
    static const char* getSystemCreationClassName();
    // A fixed loopback host name, not the machine's.
    static const char* getSystemName();

    // The module-wide lock of the six maps of the runs and the job counter,
    // held by every read of, addition to and sweep of them.
    static cimple::Mutex& mapLock();

    static KRNA_DiagUtils* diagutil;
    static FILE* fp;

private:
    KRNA_DiagUtils() = default;

    cimple::Mutex mutex;
    std::string openPath;
};

// Shorthand: one message to the debug file.
void krnaDiagLog(const char* text);
// "<prefix><provider>::<operation>\n", as the diagnostics providers trace.
void krnaDiagTrace(const char* prefix, const char* provider, const char* operation);

} // namespace corvanecimple

#endif
