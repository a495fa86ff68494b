package com.zeq.sysmgt.raidmgr.dataproc.jni;

/** A result of the Glunt family: the common fields. */
public class GluntRet {
    public int iReturnCode;
    public int iAPIReturnCode;
    public int iIOCTLReturnCode;
    public int iRetryNumber;
    public int iunSignedReturnValue;
    public int iSignedReturnValue;

    public GluntRet() {
    }
}
