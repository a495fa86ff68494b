package com.zeq.sysmgt.raidmgr.dataproc.jni;

/** A result of the Pelm family: the common fields and the sense data. */
public class PelmRet extends CommonRet {
    public int iSenseDataErrorCode;
    public int iSenseKey;
    public int iSenseCode;
    public int iSenseCodeQualifier;

    public PelmRet() {
    }
}
