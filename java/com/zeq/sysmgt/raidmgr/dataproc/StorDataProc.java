package com.zeq.sysmgt.raidmgr.dataproc;

import com.zeq.sysmgt.raidmgr.dataproc.jni.StorRet;
import com.zeq.sysmgt.raidmgr.dataproc.jni.TAddr;
import com.zeq.sysmgt.raidmgr.dataproc.jni.TAddrCollection;
import com.zeq.sysmgt.raidmgr.dataproc.jni.TChunkSpec;
import com.zeq.sysmgt.raidmgr.dataproc.jni.TInteger;
import com.zeq.sysmgt.raidmgr.dataproc.jni.TProgress;

/**
 * The storage natives of the core library over the process-wide Tarnell
 * storage library. The class does not load the library: the host loads
 * libtarnellcore (System.load or System.loadLibrary) from a class of the same
 * class loader before the first call.
 *
 * Every native answers with a new StorRet (checkVersions with an int) and
 * never throws; XML documents arrive in the three String fields.
 */
public class StorDataProc {
    /** The system configuration document of the last getSystemConfig. */
    public String xmlConfigBuffer;
    /** The event document of the last getEvents (no events, or null). */
    public String eventsBuffer;
    /** The controller event-log document of the last getControllerLog. */
    public String xmlLogBuffer;

    public StorDataProc() {
    }

    // Life cycle.
    public static native StorRet constructDLL();
    public native StorRet destructDLL();
    public native int checkVersions(int adapter);

    // Not supported by the Tarnell family: each answers -1.
    public native StorRet getDeviceDriverVersion(TAddr addr);
    public native StorRet resetAdapterRaidConfig(TAddr addr);
    public native StorRet setAttendanceMode(TAddr addr, boolean attended);
    public native StorRet createDiskSet(TAddr addr, TAddrCollection drives, String name);
    public native StorRet deleteDiskSet(TAddr addr);
    public native StorRet addDrivesToDiskSet(TAddr addr, TAddrCollection drives);
    public native StorRet removeDrivesFromDiskSet(TAddr addr, TAddrCollection drives);
    public native StorRet setDiskSetName(TAddr addr, String name);
    public native StorRet setDiskSetSpareEnabled(TAddr addr, boolean enabled);
    public native StorRet setDiskSetOwnership(TAddr addr, int owner);

    // Storage operations.
    public native StorRet setControllerPhysicalDriveCache(TAddr addr, int sataMode, int sasMode);
    public native StorRet testAllSpares(TAddr addr);
    public native StorRet removeSnapshot(TAddr addr);
    public native StorRet createSnapshot(TAddr source, TAddr target, boolean backup);
    public native StorRet setLogicalDriveState(TAddr addr, int state);
    public native StorRet flashImage(TAddr addr, String path);
    public native StorRet startHardDriveTask(TAddr addr, int task);
    public native StorRet setCopybackEnabled(TAddr addr, boolean enabled);
    public native StorRet getControllerCount(TInteger count);
    public native StorRet setLogicalDriveCache(TAddr addr, int readCache, int writeCache);
    public native StorRet setAlarmState(TAddr addr, int state);
    public native StorRet verify(TAddr addr, int fix);
    public native StorRet recalibrateBattery(TAddr addr);
    public native StorRet identifyPhysicalDrive(TAddr addr, short option);
    public native StorRet setHardDriveWriteCacheEnable(TAddr addr, boolean enable);
    public native StorRet setPhysicalDeviceState(TAddr addr, int state);
    public native StorRet setDataScrubbingRateDays(TAddr addr, int days);
    public native StorRet setDataScrubbing(TAddr addr, boolean active);
    public native StorRet scanForDrives(TAddr addr, boolean async);
    public native StorRet initializeLogicalDrive(TAddr addr);
    public native StorRet initializeHardDrive(TAddr addr);
    public native StorRet setWriteCacheEnable(TAddr addr, boolean enable);
    public native StorRet getEvents(TAddr addr);
    public native StorRet clearControllerLog(TAddr addr, int logType);
    public native StorRet getControllerLog(TAddr addr, int logType);
    public native StorRet getSystemConfig();
    public native StorRet deleteLogicalDrive(TAddr addr);
    public native StorRet setStripeSize(TAddr addr, int stripeSize);
    public native StorRet setGlobalHotSpare(TAddr addr);
    public native StorRet deleteSpare(TAddr addr);
    public native StorRet changeLogicalDriveName(TAddr addr, String name);
    public native StorRet getProgress(TAddr addr, TProgress progress);
    public native StorRet setTaskPriority(TAddr addr, int taskID, int priority);
    public native StorRet abortTask(TAddr addr, int taskID);
    public native StorRet modifyLogicalDrive(TAddr addr, int raidLevel, int stripeSize, String name,
                                             TChunkSpec[] chunks, int readCache, int writeCache,
                                             int initMethod, int taskPriority);
    public native StorRet removeAssignedHotSpare(TAddr drive, TAddr logicalDrive);
    public native StorRet createAssignedHotSpare(TAddr drive, TAddr logicalDrive);
    public native StorRet createLogicalDrive(TAddr addr, String xml);
}
