package com.zeq.sysmgt.raidmgr.dataproc.jni;

/** A result of the Fenta family: the common fields. */
public class FentaRet {
    public int iReturnCode;
    public int iAPIReturnCode;
    public int iIOCTLReturnCode;
    public int iRetryNumber;
    public int iunSignedReturnValue;
    public int iSignedReturnValue;

    public FentaRet() {
    }
}
