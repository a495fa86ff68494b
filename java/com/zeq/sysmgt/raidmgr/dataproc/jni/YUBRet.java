package com.zeq.sysmgt.raidmgr.dataproc.jni;

/** A result of the YUB family: the common fields. */
public class YUBRet extends CommonRet {
    public YUBRet() {
    }
}
