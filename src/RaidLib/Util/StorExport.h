#ifndef STOREXPORT_H
#define STOREXPORT_H

// Every deliverable is built with hidden default visibility; the classes and
// functions that other deliverables and the outside family libraries link
// against are marked with STOR_EXPORT so the exported interface is explicit.
#define STOR_EXPORT __attribute__((visibility("default")))

#endif
