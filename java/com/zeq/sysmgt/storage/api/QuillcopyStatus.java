package com.zeq.sysmgt.storage.api;

/** The opcode and logical drive of a controller's current task. */
public class QuillcopyStatus {
    public byte bOpcode;
    public byte bVirtDrive;
    public byte bSLDVirtDrive;
}
