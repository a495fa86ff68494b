package com.zeq.sysmgt.raidmgr.dataproc.jni;

/** A result of the Sarvo family: the common fields, the IOC fields and the sense data but its qualifier. */
public class SarvoRet extends CommonRet {
    public int iIOCStatus;
    public long lIOCLogInfo;
    public int iSCSIState;
    public int iSCSIStatus;
    public int iSenseDataErrorCode;
    public int iSenseKey;
    public int iSenseCode;

    public SarvoRet() {
    }
}
