#ifndef STORDATAPROCNATIVES_H
#define STORDATAPROCNATIVES_H

// The native methods of com.zeq.sysmgt.raidmgr.dataproc.StorDataProc, one row
// each, in the order of the Java class:
//
//   X(kind, result, name, parameters, signature, trace name, required, operation)
//
// kind       OWN: life-cycle native with a body of its own in StorDataProc.cpp;
//            STUB: answers -1 (not supported) and touches nothing;
//            STORAGE: the storage skeleton around the operation, with the
//            address converted from the TAddr parameter jAddr;
//            NOADDR: the same without an address and without the extra
//            configuration build of a new library.
// result     the C type the entry point returns.
// parameters the entry point's parameters after the JNIEnv (self is the
//            StorDataProc object, or its class for a static method).
// signature  the JNI method signature.
// required   the object parameters that must not be null (-2 otherwise,
//            before the library is created or called).
// operation  for STORAGE and NOADDR: the expression that calls the library
//            `lib` (StorLibPlugin&) with the converted address `addr` and
//            the parameters; the other kinds name what the native does.
//
// A file that only needs names and signatures expands the rows with a macro
// that ignores the other columns.

#define STORDATAPROC_JNI "com/zeq/sysmgt/raidmgr/dataproc/jni/"
#define SIG_TADDR "L" STORDATAPROC_JNI "TAddr;"
#define SIG_STORRET "L" STORDATAPROC_JNI "StorRet;"
#define SIG_TPROGRESS "L" STORDATAPROC_JNI "TProgress;"
#define SIG_TINTEGER "L" STORDATAPROC_JNI "TInteger;"
#define SIG_TCHUNKSPECS "[L" STORDATAPROC_JNI "TChunkSpec;"
#define SIG_TADDRCOLLECTION "L" STORDATAPROC_JNI "TAddrCollection;"
#define SIG_STRING "Ljava/lang/String;"

// clang-format off
#define STORDATAPROC_NATIVES(X) \
    X(OWN, jobject, constructDLL, (jclass self), "()" SIG_STORRET, \
      "JNI: constructDLL()", (), constructLibrary) \
    X(OWN, jobject, destructDLL, (jobject self), "()" SIG_STORRET, \
      "JNI: destructDLL()", (), deleteLibrary) \
    X(OWN, jint, checkVersions, (jobject self, jint adapter), "(I)I", \
      "JNI: checkVersions()", (), answer404) \
    \
    X(STUB, jobject, getDeviceDriverVersion, (jobject self, jobject jAddr), "(" SIG_TADDR ")" SIG_STORRET, \
      "JNI: getDeviceDriverVersion", (), notSupported) \
    X(STUB, jobject, resetAdapterRaidConfig, (jobject self, jobject jAddr), "(" SIG_TADDR ")" SIG_STORRET, \
      "JNI: resetAdapterRaidConfig()", (), notSupported) \
    X(STUB, jobject, setAttendanceMode, (jobject self, jobject jAddr, jboolean attended), \
      "(" SIG_TADDR "Z)" SIG_STORRET, "JNI: setAttendanceMode()", (), notSupported) \
    X(STUB, jobject, createDiskSet, (jobject self, jobject jAddr, jobject jDrives, jstring jName), \
      "(" SIG_TADDR SIG_TADDRCOLLECTION SIG_STRING ")" SIG_STORRET, "JNI: createDiskSet()", (), notSupported) \
    X(STUB, jobject, deleteDiskSet, (jobject self, jobject jAddr), "(" SIG_TADDR ")" SIG_STORRET, \
      "JNI: deleteDiskSet()", (), notSupported) \
    X(STUB, jobject, addDrivesToDiskSet, (jobject self, jobject jAddr, jobject jDrives), \
      "(" SIG_TADDR SIG_TADDRCOLLECTION ")" SIG_STORRET, "JNI: addDrivesToDiskSet()", (), notSupported) \
    X(STUB, jobject, removeDrivesFromDiskSet, (jobject self, jobject jAddr, jobject jDrives), \
      "(" SIG_TADDR SIG_TADDRCOLLECTION ")" SIG_STORRET, "JNI: removeDrivesFromDiskSet()", (), notSupported) \
    X(STUB, jobject, setDiskSetName, (jobject self, jobject jAddr, jstring jName), \
      "(" SIG_TADDR SIG_STRING ")" SIG_STORRET, "JNI: setDiskSetName()", (), notSupported) \
    X(STUB, jobject, setDiskSetSpareEnabled, (jobject self, jobject jAddr, jboolean enabled), \
      "(" SIG_TADDR "Z)" SIG_STORRET, "JNI: setDiskSetSpareEnabled()", (), notSupported) \
    X(STUB, jobject, setDiskSetOwnership, (jobject self, jobject jAddr, jint owner), \
      "(" SIG_TADDR "I)" SIG_STORRET, "JNI: setDiskSetOwnership()", (), notSupported) \
    \
    X(STORAGE, jobject, setControllerPhysicalDriveCache, (jobject self, jobject jAddr, jint sataMode, jint sasMode), \
      "(" SIG_TADDR "II)" SIG_STORRET, "JNI: setControllerPhysicalDriveCache()", (jAddr), \
      lib.setControllerPhysicalDriveCache(addr, static_cast<EnumHardDriveCacheMode>(sataMode), \
                                          static_cast<EnumHardDriveCacheMode>(sasMode))) \
    X(STORAGE, jobject, testAllSpares, (jobject self, jobject jAddr), "(" SIG_TADDR ")" SIG_STORRET, \
      "JNI: testAllSpares()", (jAddr), lib.testAllSpares(addr)) \
    X(STORAGE, jobject, removeSnapshot, (jobject self, jobject jAddr), "(" SIG_TADDR ")" SIG_STORRET, \
      "JNI: removeSnapshot()", (jAddr), lib.removeSnapshot(addr)) \
    X(STORAGE, jobject, createSnapshot, (jobject self, jobject jAddr, jobject jTarget, jboolean backup), \
      "(" SIG_TADDR SIG_TADDR "Z)" SIG_STORRET, "JNI: createSnapshot()", (jAddr, jTarget), \
      lib.createSnapshot(addr, javaAddr(env, jTarget), backup != JNI_FALSE)) \
    X(STORAGE, jobject, setLogicalDriveState, (jobject self, jobject jAddr, jint state), \
      "(" SIG_TADDR "I)" SIG_STORRET, "JNI: setLogicalDriveState()", (jAddr), \
      lib.setLogicalDriveState(addr, static_cast<EnumLogicalDeviceState>(state))) \
    X(STORAGE, jobject, flashImage, (jobject self, jobject jAddr, jstring jPath), \
      "(" SIG_TADDR SIG_STRING ")" SIG_STORRET, "JNI: flashImage()", (jAddr, jPath), \
      flashImage(env, lib, addr, jPath)) \
    X(STORAGE, jobject, startHardDriveTask, (jobject self, jobject jAddr, jint task), \
      "(" SIG_TADDR "I)" SIG_STORRET, "JNI: startHardDriveTask()", (jAddr), \
      lib.startHardDriveTask(addr, static_cast<EnumHardDriveTask>(task))) \
    X(STORAGE, jobject, setCopybackEnabled, (jobject self, jobject jAddr, jboolean enabled), \
      "(" SIG_TADDR "Z)" SIG_STORRET, "JNI: setCopybackEnabled()", (jAddr), \
      lib.setCopyBack(addr, enabled != JNI_FALSE)) \
    X(NOADDR, jobject, getControllerCount, (jobject self, jobject jCount), "(" SIG_TINTEGER ")" SIG_STORRET, \
      "JNI: getControllerCount()", (jCount), controllerCount(env, lib, jCount)) \
    X(STORAGE, jobject, setLogicalDriveCache, (jobject self, jobject jAddr, jint readCache, jint writeCache), \
      "(" SIG_TADDR "II)" SIG_STORRET, "JNI: setLogicalDriveCache()", (jAddr), \
      lib.setLogicalDriveCache(addr, static_cast<EnumLogicalDriveCacheMode>(readCache), \
                               static_cast<EnumLogicalDriveCacheMode>(writeCache))) \
    X(STORAGE, jobject, setAlarmState, (jobject self, jobject jAddr, jint state), \
      "(" SIG_TADDR "I)" SIG_STORRET, "JNI: setAlarmState()", (jAddr), \
      lib.setAlarmState(addr, static_cast<EnumAlarmState>(state))) \
    X(STORAGE, jobject, verify, (jobject self, jobject jAddr, jint fix), "(" SIG_TADDR "I)" SIG_STORRET, \
      "JNI: verify()", (jAddr), lib.synchronizeLogicalDrive(addr, fix != 0)) \
    X(STORAGE, jobject, recalibrateBattery, (jobject self, jobject jAddr), "(" SIG_TADDR ")" SIG_STORRET, \
      "JNI: recalibrateBattery()", (jAddr), lib.startBatteryCalibration(addr)) \
    X(STORAGE, jobject, identifyPhysicalDrive, (jobject self, jobject jAddr, jshort option), \
      "(" SIG_TADDR "S)" SIG_STORRET, "JNI: identifyPhysicalDrive()", (jAddr), \
      lib.identifyDevice(addr, static_cast<EnumIdentifyOption>(static_cast<int32_t>(option)))) \
    X(STORAGE, jobject, setHardDriveWriteCacheEnable, (jobject self, jobject jAddr, jboolean enable), \
      "(" SIG_TADDR "Z)" SIG_STORRET, "JNI: setHardDriveWriteCacheEnable()", (jAddr), \
      lib.setPhysicalDriveCache(addr, hardDriveCacheMode(enable))) \
    X(STORAGE, jobject, setPhysicalDeviceState, (jobject self, jobject jAddr, jint state), \
      "(" SIG_TADDR "I)" SIG_STORRET, "JNI: setPhysicalDeviceState()", (jAddr), \
      lib.downHardDrive(addr, state != 0)) \
    X(STORAGE, jobject, setDataScrubbingRateDays, (jobject self, jobject jAddr, jint days), \
      "(" SIG_TADDR "I)" SIG_STORRET, "JNI: setDataScrubbingRateDays()", (jAddr), \
      lib.setDataScrubRate(addr, unsignedLong(days))) \
    X(STORAGE, jobject, setDataScrubbing, (jobject self, jobject jAddr, jboolean active), \
      "(" SIG_TADDR "Z)" SIG_STORRET, "JNI: setDataScrubbing()", (jAddr), \
      lib.setDataScrubActive(addr, active != JNI_FALSE)) \
    X(STORAGE, jobject, scanForDrives, (jobject self, jobject jAddr, jboolean async), \
      "(" SIG_TADDR "Z)" SIG_STORRET, "JNI: scanForDrives()", (jAddr), \
      async != JNI_FALSE ? lib.asyncRescan(addr) : lib.syncRescan(addr)) \
    X(STORAGE, jobject, initializeLogicalDrive, (jobject self, jobject jAddr), "(" SIG_TADDR ")" SIG_STORRET, \
      "JNI: initializeLogicalDrive()", (jAddr), lib.initializeLogicalDrive(addr, INIT_CLEAR, TASK_PRIORITY_HIGH)) \
    X(STORAGE, jobject, initializeHardDrive, (jobject self, jobject jAddr), "(" SIG_TADDR ")" SIG_STORRET, \
      "JNI: initializeHardDrive()", (jAddr), lib.initializeHardDrive(addr)) \
    X(STORAGE, jobject, setWriteCacheEnable, (jobject self, jobject jAddr, jboolean enable), \
      "(" SIG_TADDR "Z)" SIG_STORRET, "JNI: setWriteCacheEnable()", (jAddr), \
      lib.setPhysicalDriveCache(addr, hardDriveCacheMode(enable))) \
    X(STORAGE, jobject, getEvents, (jobject self, jobject jAddr), "(" SIG_TADDR ")" SIG_STORRET, \
      "JNI: getEvents()", (jAddr), events(env, self, lib, addr)) \
    X(STORAGE, jobject, clearControllerLog, (jobject self, jobject jAddr, jint logType), \
      "(" SIG_TADDR "I)" SIG_STORRET, "JNI: clearControllerLog()", (jAddr), \
      lib.clearControllerLog(addr, static_cast<EnumLogTypeRequest>(logType))) \
    X(STORAGE, jobject, getControllerLog, (jobject self, jobject jAddr, jint logType), \
      "(" SIG_TADDR "I)" SIG_STORRET, "JNI: getControllerLog()", (jAddr), \
      controllerLog(env, self, lib, addr, logType)) \
    X(NOADDR, jobject, getSystemConfig, (jobject self), "()" SIG_STORRET, \
      "JNI: getSystemConfig()", (), systemConfig(env, self, lib)) \
    X(STORAGE, jobject, deleteLogicalDrive, (jobject self, jobject jAddr), "(" SIG_TADDR ")" SIG_STORRET, \
      "JNI: deleteLogicalDrive()", (jAddr), lib.deleteLogicalDrive(addr)) \
    X(STORAGE, jobject, setStripeSize, (jobject self, jobject jAddr, jint stripeSize), \
      "(" SIG_TADDR "I)" SIG_STORRET, "JNI: setStripeSize()", (jAddr), \
      lib.setStripeSize(addr, static_cast<EnumStripeSize>(stripeSize))) \
    X(STORAGE, jobject, setGlobalHotSpare, (jobject self, jobject jAddr), "(" SIG_TADDR ")" SIG_STORRET, \
      "JNI: setGlobalHotSpare()", (jAddr), lib.createGlobalHotSpare(addr)) \
    X(STORAGE, jobject, deleteSpare, (jobject self, jobject jAddr), "(" SIG_TADDR ")" SIG_STORRET, \
      "JNI: deleteSpare()", (jAddr), lib.deleteHotSpare(addr)) \
    X(STORAGE, jobject, changeLogicalDriveName, (jobject self, jobject jAddr, jstring jName), \
      "(" SIG_TADDR SIG_STRING ")" SIG_STORRET, "JNI: changeLogicalDriveName()", (jAddr, jName), \
      logicalDriveName(env, lib, addr, jName)) \
    X(STORAGE, jobject, getProgress, (jobject self, jobject jAddr, jobject jProgress), \
      "(" SIG_TADDR SIG_TPROGRESS ")" SIG_STORRET, "JNI: getProgress()", (jAddr, jProgress), \
      progress(env, lib, addr, jProgress)) \
    X(STORAGE, jobject, setTaskPriority, (jobject self, jobject jAddr, jint taskID, jint priority), \
      "(" SIG_TADDR "II)" SIG_STORRET, "JNI: setTaskPriority()", (jAddr), \
      lib.setTaskPriority(addr, unsignedLong(taskID), static_cast<EnumPriorityLevel>(priority))) \
    X(STORAGE, jobject, abortTask, (jobject self, jobject jAddr, jint taskID), \
      "(" SIG_TADDR "I)" SIG_STORRET, "JNI: abortTask()", (jAddr), lib.abortTask(addr, unsignedLong(taskID))) \
    X(STORAGE, jobject, modifyLogicalDrive, \
      (jobject self, jobject jAddr, jint raidLevel, jint stripeSize, jstring jName, jobjectArray jChunks, \
       jint readCache, jint writeCache, jint initMethod, jint taskPriority), \
      "(" SIG_TADDR "II" SIG_STRING SIG_TCHUNKSPECS "IIII)" SIG_STORRET, "JNI: modifyLogicalDrive()", \
      (jAddr, jChunks), \
      modifyLogicalDrive(env, lib, addr, raidLevel, stripeSize, jName, jChunks, readCache, writeCache, \
                         initMethod, taskPriority)) \
    X(STORAGE, jobject, removeAssignedHotSpare, (jobject self, jobject jAddr, jobject jLogicalDrive), \
      "(" SIG_TADDR SIG_TADDR ")" SIG_STORRET, "JNI: removeAssignedHotSpare()", (jAddr, jLogicalDrive), \
      lib.deleteAssignedHotSpare(addr, oneAddress(env, jLogicalDrive))) \
    X(STORAGE, jobject, createAssignedHotSpare, (jobject self, jobject jAddr, jobject jLogicalDrive), \
      "(" SIG_TADDR SIG_TADDR ")" SIG_STORRET, "JNI: createAssignedHotSpare()", (jAddr, jLogicalDrive), \
      lib.createAssignedHotSpare(addr, oneAddress(env, jLogicalDrive))) \
    X(STORAGE, jobject, createLogicalDrive, (jobject self, jobject jAddr, jstring jXml), \
      "(" SIG_TADDR SIG_STRING ")" SIG_STORRET, "JNI: createLogicalDrive()", (jAddr, jXml), \
      createLogicalDrive(env, lib, addr, jXml))
// clang-format on

#endif
