package com.zeq.sysmgt.raidmgr.dataproc.jni;

/** The result of a storage native: the first six fields of the native result record. */
public class StorRet extends CommonRet {
    public StorRet() {
    }
}
