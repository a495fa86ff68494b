package com.zeq.sysmgt.raidmgr.dataproc.jni;

/** A result of the YUB family: the common fields. */
public class YUBRet {
    public int iReturnCode;
    public int iAPIReturnCode;
    public int iIOCTLReturnCode;
    public int iRetryNumber;
    public int iunSignedReturnValue;
    public int iSignedReturnValue;

    public YUBRet() {
    }
}
