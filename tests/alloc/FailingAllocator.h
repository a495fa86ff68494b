#ifndef TESTS_ALLOC_FAILINGALLOCATOR_H
#define TESTS_ALLOC_FAILINGALLOCATOR_H

// Allocation failures on demand, for the programs that link
// FailingAllocator.cpp. It defines the process's global allocation
// operators (a program's own definitions serve every library of the
// process, ahead of the sanitizers' ones), which hand each request to the
// core library's own operators. An armed failure makes one request fail as
// the core's heap does when it is exhausted: the core's operator is asked
// for a block that no heap can give.
//
// Only a request that one of the build's libraries makes is failed; those of
// the program itself (the test, the test broker) and of the simulated
// controller library, which stands for an outside C library, are served.

namespace allocfail {

// Arms one failure: the first request of a library at or after the n-th
// request from now (n counts from 1) fails; every other is served.
void failAt(unsigned long n);
// Counts requests from now on without failing any.
void startCount();
// Disarms; returns whether the armed failure happened.
bool disarm();
// The requests seen since the last failAt or startCount.
unsigned long count();

} // namespace allocfail

#endif
