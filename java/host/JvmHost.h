#ifndef JVMHOST_H
#define JVMHOST_H

// The JVM of a host program over the core library (tests, benchmarks),
// started through the invocation API. A process can start one JVM only.

#include <jni.h>

#include <string>
#include <vector>

namespace jvmhost {

// Starts the JVM with the bridges' classes, the loader class and
// extraClassPath (":"-separated, may be empty) on its class path and the
// given options, then loads libtarnellcore into it from a Java class, so
// that the natives bind. Later calls return the JNIEnv of the calling thread
// and change nothing. Null (with a message on standard error) when the JVM
// cannot start or the library cannot be loaded.
JNIEnv* start(const std::string& extraClassPath, const std::vector<std::string>& options);

// The JVM, or null before start().
JavaVM* vm();

// Destroys the JVM; the process cannot start another.
void stop();

} // namespace jvmhost

#endif
