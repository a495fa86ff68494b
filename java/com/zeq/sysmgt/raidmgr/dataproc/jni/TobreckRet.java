package com.zeq.sysmgt.raidmgr.dataproc.jni;

/** A result of the Tobreck family: the return and API return codes only. */
public class TobreckRet {
    public int iReturnCode;
    public int iAPIReturnCode;

    public TobreckRet() {
    }
}
