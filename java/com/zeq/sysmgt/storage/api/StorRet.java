package com.zeq.sysmgt.storage.api;

/** The result of a native: the six fields of the C API's result record. */
public class StorRet {
    public int iReturnCode;
    public int iAPIReturnCode;
    public int iIOCTLReturnCode;
    public int iRetryNumber;
    public int iunSignedReturnValue;
    public int iSignedReturnValue;
}
