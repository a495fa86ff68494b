package com.zeq.sysmgt.raidmgr.dataproc.jni;

/** The result of a storage native: the first six fields of the native result record. */
public class StorRet {
    public int iReturnCode;
    public int iAPIReturnCode;
    public int iIOCTLReturnCode;
    public int iRetryNumber;
    public int iunSignedReturnValue;
    public int iSignedReturnValue;

    public StorRet() {
    }
}
