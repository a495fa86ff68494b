package com.zeq.sysmgt.raidmgr.dataproc.jni;

/** A result of the Pelm family: the common fields and the sense data. */
public class PelmRet {
    public int iReturnCode;
    public int iAPIReturnCode;
    public int iIOCTLReturnCode;
    public int iRetryNumber;
    public int iunSignedReturnValue;
    public int iSignedReturnValue;
    public int iSenseDataErrorCode;
    public int iSenseKey;
    public int iSenseCode;
    public int iSenseCodeQualifier;

    public PelmRet() {
    }
}
