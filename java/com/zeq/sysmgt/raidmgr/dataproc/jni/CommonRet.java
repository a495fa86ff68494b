package com.zeq.sysmgt.raidmgr.dataproc.jni;

/** The six fields that the result classes share, named as in the native result record. */
public abstract class CommonRet {
    public int iReturnCode;
    public int iAPIReturnCode;
    public int iIOCTLReturnCode;
    public int iRetryNumber;
    public int iunSignedReturnValue;
    public int iSignedReturnValue;

    protected CommonRet() {
    }
}
