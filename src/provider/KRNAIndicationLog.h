#ifndef KRNAINDICATIONLOG_H
#define KRNAINDICATIONLOG_H

// The log of the alert-indication provider and its event mapping,
// "KRNAIndication.log" (module-internal).

#include "KRNALogger.h"

namespace corvanecimple {
extern KRNALogger indicationLogger;
}

#endif
