package com.zeq.sysmgt.storage.api;

/** Controller options as an older console declares them. */
public class UserOpts {
    public byte bCopyBackEnabled;
}
