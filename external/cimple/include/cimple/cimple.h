// The provider framework: everything a provider module includes.
#ifndef CIMPLE_CIMPLE_H
#define CIMPLE_CIMPLE_H

#include "Array.h"
#include "Atomic.h"
#include "Datetime.h"
#include "Handler.h"
#include "Instance.h"
#include "Instance_Map.h"
#include "Meta.h"
#include "Mutex.h"
#include "Property.h"
#include "Provider.h"
#include "Ref.h"
#include "String.h"
#include "Thread.h"
#include "Time.h"
#include "cimom.h"
#include "config.h"

#endif
