// The diagnostics' debug file, fixed keys, lock and sweep.
#include "KRNADiagUtils.h"

#include "KRNADiagProviders.h"
#include "KRNALogger.h"

namespace corvanecimple {

KRNA_DiagUtils* KRNA_DiagUtils::diagutil = nullptr;
FILE* KRNA_DiagUtils::fp = nullptr;

namespace {

const char* const DEBUG_FILE = "KRNA_Debug.log";

cimple::Mutex& creationLock()
{
    static cimple::Mutex mutex;
    return mutex;
}

} // namespace

KRNA_DiagUtils* KRNA_DiagUtils::getInstance()
{
    cimple::Auto_Mutex lock(creationLock());
    if (!diagutil)
        diagutil = new KRNA_DiagUtils;
    return diagutil;
}

void KRNA_DiagUtils::logMessages(const cimple::String& text)
{
    cimple::Auto_Mutex lock(mutex);
    const std::string dir = KRNALogger::redirectedDirectory();
    const std::string path = dir.empty() ? DEBUG_FILE : dir + "/" + DEBUG_FILE;
    // The file stays open; a test that points the logs elsewhere reopens it.
    if (!fp || path != openPath) {
        if (fp)
            fclose(fp);
        fp = fopen(path.c_str(), "a+");
        openPath = path;
    }
    if (!fp) {
        fputs(text.c_str(), stdout);
        return;
    }
    fputs(text.c_str(), fp);
    fflush(fp);
}

void KRNA_DiagUtils::deleteExpiredInstances()
{
    cimple::Auto_Mutex lock(mapLock());
    for (;;) {
        const cimple::String jobID = KRNA_DiagConcreteJob_Provider::deleteExpiredInstance();
        if (jobID.empty())
            return;
        KRNA_DiagServiceRecord_Provider::deleteExpiredInstance(jobID);
        KRNA_DiagSettingRecord_Provider::deleteExpiredInstance(jobID);
        KRNA_OwningJobElement_Provider::deleteExpiredInstance(jobID);
        KRNA_LogManagesRecord_Provider::deleteExpiredInstance(jobID);
        KRNA_AffectedJobElement_Provider::deleteExpiredInstance(jobID);
    }
}

const char* KRNA_DiagUtils::getSystemCreationClassName() { return "PG_ComputerSystem"; }

const char* KRNA_DiagUtils::getSystemName() { return "localhost"; }

cimple::Mutex& KRNA_DiagUtils::mapLock()
{
    static cimple::Mutex mutex;
    return mutex;
}

void krnaDiagLog(const char* text) { KRNA_DiagUtils::getInstance()->logMessages(text); }

void krnaDiagTrace(const char* prefix, const char* provider, const char* operation)
{
    krnaDiagLog((std::string(prefix) + provider + "::" + operation + "\n").c_str());
}

} // namespace corvanecimple
